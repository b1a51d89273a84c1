#include "IDialogs.h"

#include "MessageCatalogue.h"

namespace lumidrax {

bool IDialogs::SetUpPrinter(QPrinter&)
{
    return false;
}

bool IDialogs::PreviewPrint(QPrinter&, const std::function<void(QPrinter&)>&)
{
    return true;
}

void IDialogs::ShowError(int code, const std::string& text)
{
    ShowMessageBox(kErrorCaption, ErrorText(code, text));
}

void IDialogs::ShowErrorMessage(const std::string& message)
{
    ShowMessageBox(kErrorCaption, "Error: " + message + ".");
}

} // namespace lumidrax
