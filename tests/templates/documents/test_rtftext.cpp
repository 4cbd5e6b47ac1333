// Windows-1250 text inside RTF: what values look like in a document, their
// capitals, and finding markers whatever their case.
#include "templates/rtftext.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

struct TextCase {
    const char *name;
    QString input;
    QByteArray expected;
};

class EscapeValue : public ::testing::TestWithParam<TextCase> {};

TEST_P(EscapeValue, WritesWhatADocumentNeeds)
{
    EXPECT_EQ(rtftext::escapeValue(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, EscapeValue,
    ::testing::Values(
        TextCase{"plain", "Cluj-Napoca 12", "Cluj-Napoca 12"},
        TextCase{"braces_become_parentheses", "teren {arabil}", "teren (arabil)"},
        TextCase{"backslashes_stay", "Subsemnata: \\par", "Subsemnata: \\par"},
        TextCase{"romanian_letters_as_escapes", u"ăâîşţ ĂÂÎŞŢ"_qs, "\\'e3\\'e2\\'ee\\'ba\\'fe \\'c3\\'c2\\'ce\\'aa\\'de"},
        TextCase{"comma_below_as_cedilla", u"ș ț Ș Ț"_qs, "\\'ba \\'fe \\'aa \\'de"},
        TextCase{"outside_code_page_as_unicode", u"Ω €"_qs, "\\u937? \\'80"},
        TextCase{"beyond_basic_plane", u"😀"_qs, "\\u-10179?\\u-8704?"}),
    [](const auto &info) { return std::string(info.param.name); });

class UpperCaseText : public ::testing::TestWithParam<std::pair<QByteArray, QByteArray>> {};

TEST_P(UpperCaseText, TouchesOnlyText)
{
    EXPECT_EQ(rtftext::upperCaseText(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Values, UpperCaseText,
    ::testing::Values(std::make_pair(QByteArray("Cluj"), QByteArray("CLUJ")),
                      std::make_pair(QByteArray("Ion Pop\\line    (numele)\\par \\par    Semnatura"),
                                     QByteArray("ION POP\\line    (NUMELE)\\par \\par    SEMNATURA")),
                      std::make_pair(QByteArray("n\\'e3s\\'e3ud \\'ba\\'fe"), QByteArray("N\\'c3S\\'c3UD \\'aa\\'de")),
                      std::make_pair(QByteArray("\\'aa stays"), QByteArray("\\'aa STAYS")),
                      std::make_pair(QByteArray("x\\fs24 y\\b0 z"), QByteArray("X\\fs24 Y\\b0 Z")),
                      std::make_pair(QByteArray("a\\\\b \\{c\\}"), QByteArray("A\\\\B \\{C\\}")),
                      std::make_pair(QByteArray("\\u537?a"), QByteArray("\\u537?A")),
                      std::make_pair(QByteArray("raw \xe3\xba"), QByteArray("RAW \xc3\xaa")),
                      std::make_pair(QByteArray("trailing\\"), QByteArray("TRAILING\\"))));

TEST(Capitals, MarkerSpellings)
{
    EXPECT_TRUE(rtftext::isAllCapitals("[JUDET]"));
    EXPECT_TRUE(rtftext::isAllCapitals("[S10]"));
    EXPECT_FALSE(rtftext::isAllCapitals("[Judet]"));
    EXPECT_FALSE(rtftext::isAllCapitals("[judet]"));
    EXPECT_TRUE(rtftext::isAllCapitals("\xc3\xaa"));  // Ă Ş
    EXPECT_FALSE(rtftext::isAllCapitals("\xe3"));      // ă
}

TEST(IndexOfNoCase, FindsWhateverTheCase)
{
    EXPECT_EQ(rtftext::indexOfNoCase("Judet: [judet]", "[JUDET]"), 7);
    EXPECT_EQ(rtftext::indexOfNoCase("[Jud] [JUD]", "[jud]", 1), 6);
    EXPECT_EQ(rtftext::indexOfNoCase("\xe3[x]", "\xc3[X]"), 0);
    EXPECT_EQ(rtftext::indexOfNoCase("abc", "[x]"), -1);
    EXPECT_EQ(rtftext::indexOfNoCase("abc", ""), -1);
    EXPECT_EQ(rtftext::indexOfNoCase("ab", "abc"), -1);
}

TEST(Windows1250, RoundTrip)
{
    const QString text = u"Ştefăneşti, Ţara Bârsei, Înşir"_qs;
    EXPECT_EQ(rtftext::fromWindows1250(rtftext::toWindows1250(text)), text);
}

} // namespace
