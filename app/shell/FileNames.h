#pragma once
// File names as the system hands them over: bytes, which need not be valid
// UTF-8. Names from the command line, a second instance and dropped files
// stay bytes all the way to the chart's FileName, so every name that the
// file system holds can be opened.

#include <QByteArray>

#include <string>

class QUrl;

namespace lumidrax {

// `name` made absolute against the working folder, with "." and ".."
// parts and doubled separators removed (the name's bytes kept).
std::string AbsoluteFileName(const std::string& name);

// The local file a dropped URL names, as bytes (percent-encoded bytes of a
// name that is not UTF-8 come back as they were); empty for a URL that
// names no local file.
std::string LocalFileName(const QUrl& url);

// True when a name that came through a text-only channel (a file dialog)
// lost bytes it could not show: such a name cannot be opened as it is.
bool NameLostBytes(const std::string& name);

} // namespace lumidrax
