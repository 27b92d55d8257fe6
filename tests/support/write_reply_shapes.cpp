#include "tests/support/write_reply_shapes.h"

#include <utility>

namespace varnak::test {
namespace {

using Shape = SimStation::WriteReply;

constexpr std::pair<Shape, const char*> kNames[] = {
    {Shape::Count, "count"}, {Shape::Values, "values"}, {Shape::Empty, "empty"}};

}  // namespace

const char* writeReplyName(Shape shape) {
    for (const auto& [value, name] : kNames)
        if (value == shape) return name;
    return "?";
}

std::optional<Shape> writeReplyNamed(const std::string& name) {
    for (const auto& [value, text] : kNames)
        if (name == text) return value;
    return std::nullopt;
}

}  // namespace varnak::test
