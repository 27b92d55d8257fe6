#include "platform/write_failure.h"

#include <utility>

namespace varnak::platform {
namespace {

thread_local std::optional<WriteFailure> last;

}  // namespace

void noteWriteFailure(std::string path, int error) {
    last = WriteFailure{std::move(path), error};
}

std::optional<WriteFailure> lastWriteFailure() {
    return last;
}

void forgetWriteFailure() {
    last.reset();
}

}  // namespace varnak::platform
