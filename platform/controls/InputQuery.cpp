#include "InputQuery.h"

#include "FormBuilder.h"

#include <memory>

namespace {

class TInputQueryForm : public TForm {
public:
    TInputQueryForm(const std::string& ACaption, const std::string& APrompt) : TForm(nullptr)
    {
        SetName("InputQueryForm");
        SetCaption(ACaption);
        SetPosition(poScreenCenter);
        BuildForm(this, 300, 90, {
            Ctl(Prompt, "Prompt", APrompt),
            Ctl(Edit, "Edit"),
            Buttons({Ctl(BOk, "BOk", "OK"), Ctl(BCancel, "BCancel", "Cancel")}),
        });
        BOk->SetDefault(true);
        BOk->SetModalResult(mrOk);
        BCancel->SetCancel(true);
        BCancel->SetModalResult(mrCancel);
        DoCreate();
    }
    TLabel* Prompt = nullptr;
    TEdit* Edit = nullptr;
    TButton* BOk = nullptr;
    TButton* BCancel = nullptr;
};

} // namespace

bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value)
{
    auto form = std::make_unique<TInputQueryForm>(ACaption, APrompt);
    form->Edit->SetText(Value);
    // Selected, as the box shows it: what the user types replaces the value.
    form->Edit->SelectAll();
    if (form->ShowModal() != mrOk)
        return false;
    Value = form->Edit->Text();
    return true;
}
