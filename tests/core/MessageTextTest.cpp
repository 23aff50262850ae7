// Filling the placeholders of a message.
#include "MessageText.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageText, FillsEachPlaceholderOnceFromLeftToRight) {
    EXPECT_EQ(FillMessage("<%s> an <%s>", {"Team %s", "ops@example.org"}),
              "<Team %s> an <ops@example.org>");
    EXPECT_EQ(FillMessage("Der Rechner <%s> reagiert nicht mehr (Fehlercode: %d).",
                          {"pc%d-host", "11010"}),
              "Der Rechner <pc%d-host> reagiert nicht mehr (Fehlercode: 11010).");
    EXPECT_EQ(FillMessage("Trap %lu an %s", {"6", "%lu"}), "Trap 6 an %lu");
}

TEST(MessageText, LeavesWhatHasNoValue) {
    EXPECT_EQ(FillMessage("%s und %s", {"a"}), "a und %s");
    EXPECT_EQ(FillMessage("100% %x %", {"a"}), "100% %x %");
    EXPECT_EQ(FillMessage("ohne", {"a", "b"}), "ohne");
    EXPECT_EQ(FillMessage("%s", {""}), "");
}

} // namespace
