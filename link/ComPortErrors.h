#pragma once
// The failures of a serial port. Every message is a fixed prefix followed
// by the system's reason (and, on Linux, the remedy where one is known).
// The port never shows a message itself: its caller catches these.

#include <stdexcept>
#include <string>

namespace lumidrax {

// Base of the port failures, so that a caller may catch them all at once.
class EComError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The port cannot be opened: "Unable to open com port: " + reason.
class EComHandle : public EComError {
  public:
    explicit EComHandle(const std::string& reason) : EComError("Unable to open com port: " + reason) {}
};

// The line settings cannot be applied: "Unable to set com state: " + reason.
class EComState : public EComError {
  public:
    explicit EComState(const std::string& reason) : EComError("Unable to set com state: " + reason) {}
};

// The port status cannot be read: "Unable to read com status: " + reason.
class EComStatus : public EComError {
  public:
    explicit EComStatus(const std::string& reason) : EComError("Unable to read com status: " + reason) {}
};

// A write ("Unable to write to port: " + reason) or read
// ("Unable to read from port: " + reason) failed.
class EWriteError : public EComError {
  public:
    using EComError::EComError;
};

} // namespace lumidrax
