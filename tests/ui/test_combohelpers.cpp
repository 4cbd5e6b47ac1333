// Filling and choosing in drop-down lists.
#include "ui/combohelpers.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <QComboBox>

namespace {

TEST(ListHelpers, SelectComboItemIgnoresCase)
{
    QComboBox box;
    box.addItems({"ALBA", "Arad", "arad", "BRASOV"});
    const struct {
        const char *text;
        int index;
    } cases[] = {{"arad", 1}, {"brasov", 3}, {"ALBA", 0}, {"Cluj", -1}, {"", -1}};
    for (const auto &c : cases) {
        box.setCurrentIndex(2);
        SelectComboItem(&box, c.text);
        EXPECT_EQ(box.currentIndex(), c.index) << c.text;
    }
}

TEST(ListHelpers, AddComboItemsKeepsEarlierItemsAndSelectsTheFirst)
{
    QComboBox box;
    AddComboItems(&box, {});
    EXPECT_EQ(box.currentIndex(), -1);
    AddComboItems(&box, {"A", "B"});
    AddComboItems(&box, {"C"});
    EXPECT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(2), "C");
    EXPECT_EQ(box.currentIndex(), 0);
}

} // namespace
