#include "FileNames.h"

#include <QUrl>

#include <filesystem>
#include <system_error>

namespace lumidrax {

std::string AbsoluteFileName(const std::string& name)
{
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(std::filesystem::path(name), ec);
    if (ec)
        p = std::filesystem::path(name);
    std::string out = p.lexically_normal().native();
    // A name that ends in a separator keeps no empty last part.
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return out;
}

std::string LocalFileName(const QUrl& url)
{
    if (!url.isLocalFile())
        return {};
    // The fully encoded path keeps every byte that is not UTF-8 as %XX.
    const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
    return QByteArray::fromPercentEncoding(encoded).toStdString();
}

bool NameLostBytes(const std::string& name)
{
    // U+FFFD, the replacement character, in UTF-8.
    return name.find("\xEF\xBF\xBD") != std::string::npos;
}

} // namespace lumidrax
