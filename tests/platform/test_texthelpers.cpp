#include "platform/texthelpers.h"

#include <gtest/gtest.h>
#include "qtprint.h"

struct TextCase {
    const char *input;
    const char *expected;
};

TEST(CleanText, TrimsTurnsQuotesToBlanksAndReducesBlanks)
{
    const TextCase cases[] = {
        // the quotes become blanks after the trim, and the result is not trimmed again
        {"  \"abc\"  ", " abc "},
        {"", ""},
        {"   ", ""},
        {"Ion  Popescu", "Ion Popescu"},
        {"a    b", "a b"},
        {"Str. \"Unirii\" nr. 5", "Str. Unirii nr. 5"},
        {"\t Tarla 12 \r\n", "Tarla 12"},
        {"\"\"\"", " "},
        {"ăâîșț  ĂÂÎȘȚ", "ăâîșț ĂÂÎȘȚ"},
    };
    for (const TextCase &c : cases)
        EXPECT_EQ(CleanText(QString::fromUtf8(c.input)), QString::fromUtf8(c.expected)) << c.input;
}

TEST(JoinConditions, PutsAndBetweenAdjacentConditions)
{
    const TextCase cases[] = {
        {")(", ") AND ("},
        {"(A=1)(B=2)", "(A=1) AND (B=2)"},
        {"(A=1)(B=2)(C=3)", "(A=1) AND (B=2) AND (C=3)"},
        {"  (STARE=0)  ", "(STARE=0)"},
        {"", ""},
        {"   ", ""},
        {"(A=1) (B=2)", "(A=1) (B=2)"},
        {"((A=1))((B=2))", "((A=1)) AND ((B=2))"},
    };
    for (const TextCase &c : cases)
        EXPECT_EQ(JoinConditions(c.input), QString(c.expected)) << c.input;
}

TEST(ReplaceText, ReplacesUntilTheOldTextIsGone)
{
    struct Case {
        const char *text, *oldText, *newText, *expected;
    };
    const Case cases[] = {
        {"[NUME] si [NUME]", "[NUME]", "Ion", "Ion si Ion"},
        {"abc", "", "x", "abc"},
        {"abc", "z", "x", "abc"},
        {"", "a", "b", ""},
        // a replacement that forms a new occurrence is replaced again
        {"aab", "ab", "b", "b"},
        {"a  b   c", "  ", " ", "a b c"},
        {"xaaay", "aa", "a", "xay"},
        {"[A]", "[A]", "", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReplaceText(c.text, c.oldText, c.newText), QString(c.expected)) << c.text << " / " << c.oldText;
}

TEST(ReplaceText, NewTextHoldingTheOldOneEndsAfterOnePass)
{
    // Repeating would never end; each original occurrence is replaced once.
    EXPECT_EQ(ReplaceText("a-a", "a", "aa"), "aa-aa");
}

TEST(ReplaceText, LargeTextWithManyMarkers)
{
    QString text;
    for (int i = 0; i < 20000; ++i)
        text += "{\\f1 [DATA]} ";
    const QString result = ReplaceText(text, "[DATA]", "01.02.2024");
    EXPECT_EQ(result.count("01.02.2024"), 20000);
    EXPECT_FALSE(result.contains("[DATA]"));
}
