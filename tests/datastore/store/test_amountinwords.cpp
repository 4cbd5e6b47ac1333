// Amounts in words as the documents print them.
#include "datastore/amountinwords.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

TEST(AmountInWords, WorkedExamples)
{
    const struct {
        const char *amount, *words;
    } cases[] = {
        {"1234.56", "unamiidouasutetreizecisipatru lei si cincizecisisase bani"},
        {"12", "doisprezece lei si zero bani"},
        {"2.5", "doi lei si cincizeci bani"},
        {"21", "douazecisiunu lei si zero bani"},
        {"22.02", "douazecisidoi lei si doi bani"},
        {"100", "unasuta lei si zero bani"},
        {"0.01", "zero lei si unu bani"},
        {"1000000", "unamilioane lei si zero bani"},
        {"2000", "douamii lei si zero bani"},
        {"315", "treisutecincisprezece lei si zero bani"},
        {"5.999", "cinci lei si nouazecisinoua bani"},
        {"", "zero lei si zero bani"},
        {".5", "zero lei si cincizeci bani"},
        {"7.", "sapte lei si zero bani"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AmountInWords(c.amount), c.words) << c.amount;
}

TEST(AmountInWords, WholeNumbers)
{
    const struct {
        const char *digits, *words;
    } cases[] = {
        {"14", "patrusprezece"},        {"16", "sasesprezece"},   {"60", "sasezeci"},
        {"10", "zece"},                 {"11", "unsprezece"},     {"1001", "unamiiunu"},
        {"2002", "douamiidoi"},         {"1000001", "unamilioaneunu"},
        {"0", "zero"},                  {"000", "zero"},          {"2", "doi"},
        {"1", "unu"},                   {"900", "nouasute"},      {"12000", "doisprezecemii"},
        {"999999999999", "nouasutenouazecisinouamiliardenouasutenouazecisinouamilioanenouasutenouazecisinouamiinouasutenouazecisinoua"},
        {"2000000000", "douamiliarde"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NumberInWords(c.digits), c.words) << c.digits;
}

} // namespace
