#include "app/forms.h"

#include "app/error_form.h"
#include "app/install_form.h"

namespace kelo {

namespace {

// Start-up's view of a form: create, centre, run modally. The form object
// lives until start-up drops it after the loop.
template <class Form>
class HostedForm : public IAppForm {
public:
    // A window whose skin archive resource is missing or empty has no
    // controls at all: nothing to see and no way to close it. That counts as
    // a skin that cannot be loaded (the object's destructor destroys it).
    bool CreateFrame(DWORD style, DWORD exStyle) override {
        return form_.CreateFrame(nullptr, L"", style, exStyle, 0, 0, 0, 0, nullptr) != nullptr &&
               form_.Manager().Root() != nullptr;
    }
    void CenterOnOwner() override { form_.CenterOnOwner(); }
    void RunModalLoop(int showCommand) override { form_.RunModalLoop(showCommand); }

private:
    Form form_;
};

}  // namespace

std::unique_ptr<IAppForm> MakeInstallForm() {
    return std::make_unique<HostedForm<InstallForm>>();
}

std::unique_ptr<IAppForm> MakeErrorForm() {
    return std::make_unique<HostedForm<ErrorForm>>();
}

}  // namespace kelo
