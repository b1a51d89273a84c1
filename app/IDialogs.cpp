#include "IDialogs.h"

#include "MessageCatalogue.h"

namespace lumidrax {

void IDialogs::ShowError(int code, const std::string& text)
{
    ShowMessageBox(kErrorCaption, ErrorText(code, text));
}

void IDialogs::ShowErrorMessage(const std::string& message)
{
    ShowMessageBox(kErrorCaption, "Error: " + message + ".");
}

} // namespace lumidrax
