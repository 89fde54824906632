// The kit's raised failures. Kit routines report errors by exception, as their callers expect;
// Qt slots that run kit code catch them and log.
#pragma once

#include <stdexcept>
#include <string>

namespace quorlet {

enum class TKitErrorKind { General, OutOfResources, InvalidOperation, FileOpen };

class EKitError : public std::runtime_error {
  public:
    explicit EKitError(const std::string& message, TKitErrorKind kind = TKitErrorKind::General)
        : std::runtime_error(message), kind_(kind) {}
    TKitErrorKind Kind() const { return kind_; }

  private:
    TKitErrorKind kind_;
};

} // namespace quorlet
