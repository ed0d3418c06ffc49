// The program's entry: unit start-up, the application with its three windows, the
// message loop until the main window closes, and finalisation.
#include "ChatUnit.h"
#include "Startup.h"
#include "Unit2.h"
#include "Unit3.h"

int main()
{
    InitializeUnits();
    try {
        Application->Initialize();
        Application->CreateForm(fmMain);
        Application->CreateForm(fmData);
        Application->CreateForm(fmChart);
        Application->Run();
    } catch (...) {
        Application->HandleException(nullptr);
    }
    FinalizeUnits();
    return 0;
}
