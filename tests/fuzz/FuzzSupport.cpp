#include "FuzzSupport.h"

#include "Startup.h"
#include "controls/Dialogs.h"

#include <QApplication>

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Kept to the end of the process: the targets' objects may outlive any scope here.
    static QApplication* app = nullptr;
    if (app == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        app = new QApplication(*argc, *argv);
        InitializeUnits();
        // No one answers a message box here: a stream that asks something (an obsolete
        // property, a confirmation) gets OK, an open dialog or modal form is cancelled.
        SetDialogAnswerer([](TDialogRequest& Request) { return Request.Kind == TDialogKind::dkMessage ? mrOk : mrCancel; });
    }
    return 0;
}

namespace fuzz {

double InputReader::Double()
{
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= uint64_t(Byte()) << (8 * i);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::string InputReader::Text()
{
    std::string s;
    while (At < N && P[At] != 0)
        s += char(P[At++]);
    if (At < N)
        ++At;
    return s;
}

std::string InputReader::Rest()
{
    std::string s(reinterpret_cast<const char*>(P) + At, N - At);
    At = N;
    return s;
}

std::vector<uint8_t> InputReader::RestBytes()
{
    std::vector<uint8_t> v(P + At, P + N);
    At = N;
    return v;
}

} // namespace fuzz
