// Status-line shortening with a font of 1 pixel per character.
#include "scanner/minimize_name.h"

#include <gtest/gtest.h>

namespace {

using vur::scanner::MinimizeName;

int Chars(const std::string& text) { return static_cast<int>(text.size()); }

TEST(MinimizeName, DropsLeadingFoldersThenTheDrive) {
    const std::string path = "C:\\Programme\\Firma\\Produkt\\Daten\\";
    EXPECT_EQ(MinimizeName(path, 100, Chars), path);
    EXPECT_EQ(MinimizeName(path, 28, Chars), "C:\\...\\Firma\\Produkt\\Daten\\");
    EXPECT_EQ(MinimizeName(path, 22, Chars), "C:\\...\\Produkt\\Daten\\");
    EXPECT_EQ(MinimizeName(path, 13, Chars), "C:\\...\\Daten\\");
    EXPECT_EQ(MinimizeName(path, 5, Chars), "...\\Daten\\");
    EXPECT_EQ(MinimizeName("\\\\server\\share\\Ordner\\b\\", 21, Chars), "\\\\server\\share\\...\\b\\");
    EXPECT_EQ(MinimizeName("C:\\Langer Ordnername\\", 8, Chars), "C:\\Langer Ordnername\\");
}

} // namespace
