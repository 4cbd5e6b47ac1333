// Telling a template the engine can work on from one it cannot.
#include "templates/templatelayout.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

struct LayoutCase {
    const char *name;
    QByteArray rtf;
    QString problem;
};

class Layout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, NamesTheFirstProblem)
{
    EXPECT_EQ(TemplateLayoutProblem(GetParam().rtf), GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Layout,
    ::testing::Values(
        LayoutCase{"sound", "{\\rtf1\\ansi\r\n{\\fonttbl{\\f0 Arial;}}\r\n\\pard [Nume]\\par\r\n}\r\n\r\n", ""},
        LayoutCase{"escaped_braces_are_text", "{\\rtf1\n\\pard a \\{b\\}\n}", ""},
        LayoutCase{"empty", "  \r\n", "sablonul este gol"},
        LayoutCase{"not_rtf", "Nume: [Nume]", "sablonul nu incepe cu {\\rtf"},
        LayoutCase{"unbalanced", "{\\rtf1\n\\pard {\\b x\n}", "acoladele nu se inchid corect"},
        LayoutCase{"closed_too_early", "{\\rtf1\n\\pard x}\n{\\b y}",
                   "documentul se inchide inainte de ultima linie (linia 2)"},
        LayoutCase{"no_pard", "{\\rtf1\n\\plain x\\par\n}", "nicio linie nu contine \\pard"},
        LayoutCase{"body_closes_before_last_line", "{\\rtf1\n\\pard x}\n{\\b y}{",
                   "acoladele nu se inchid corect"},
        LayoutCase{"escaped_brace_confuses_the_line_count", "{\\rtf1\n\\pard a \\}\nb\n}",
                   "documentul se inchide inainte de ultima linie (linia 2)"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Markers, WholeOnABodyLineInOrder)
{
    const QByteArray rtf = "{\\rtf1{\\info{\\title [Titlu]}}\n"
                           "{\\b [Antet]} \\pard [JUDET] [Nume] [NU\n"
                           "ME] [nr 1] [Judet] [Pree1] [1] [JUDET]\n"
                           "}";
    EXPECT_EQ(TemplateMarkers(rtf), (QStringList{"[JUDET]", "[Nume]", "[Judet]", "[Pree1]", "[1]"}));
}

} // namespace
