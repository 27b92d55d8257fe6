#include "model/text_util.h"

#include <gtest/gtest.h>

namespace varnak {
namespace {

TEST(TextUtil, CaptionsLoseTheirAcceleratorMarksButKeepADoubledAmpersand) {
    const struct {
        const char* caption;
        const char* plain;
    } cases[] = {
        {"Sichern &unter...", "Sichern unter..."},
        {"Save &As...", "Save As..."},
        {"Ein && Aus", "Ein & Aus"},
        {"&Grenzwert 1:", "Grenzwert 1:"},
        {"Ende&", "Ende&"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(withoutAccelerators(c.caption), c.plain) << c.caption;
}

}  // namespace
}  // namespace varnak
