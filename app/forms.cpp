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
    bool CreateFrame(DWORD style, DWORD exStyle) override {
        return form_.CreateFrame(nullptr, L"", style, exStyle, 0, 0, 0, 0, nullptr) != nullptr;
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
