// Checks of personal codes, fiscal codes, telephone numbers and e-mail addresses.
#include "datastore/codechecks.h"
#include "testsupport.h"

#include <gtest/gtest.h>

namespace {

TEST(CodeChecks, PersonalNumericCode)
{
    const struct {
        const char *cnp;
        bool valid;
    } cases[] = {
        {"1850101123451", true},
        {"1850101123452", false}, // wrong check digit
        {"5001231400013", true},  // born in 2000
        {"9001231400010", true},  // foreign resident
        {"1850101100031", true},  // weighted sum leaves 10: check digit 1
        {"1850101100030", false},
        {"3850101123451", false}, {"4850101123451", false}, {"7850101123451", false}, {"8850101123451", false},
        {"1850231123451", false}, // 31 February
        {"185010112345", false},  // 12 digits
        {"18501011234510", false},
        {"18501011234A1", false},
        {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CheckCnp(c.cnp), c.valid) << c.cnp;
}

TEST(CodeChecks, FiscalCode)
{
    const struct {
        const char *cif;
        bool valid;
    } cases[] = {
        {"18547290", true},  {"RO18547290", true}, {"ro 1854 7290", true}, {"18547291", false},
        {"ro 123", false},   // read as 123, tested as 0000000123
        {"ro 124", true},    {"1090", true},       // remainder 10 counts as 0
        {"12345678901", false}, {"RO12A4", false}, {"12", false}, {"RO12", false}, {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CheckCif(c.cif), c.valid) << c.cif;
}

TEST(CodeChecks, Phone)
{
    const struct {
        const char *phone;
        bool valid;
    } cases[] = {
        {"0722 123 456", true}, {"0722123456", true}, {"0312.345.678", true}, {"0212345678", true},
        {"0112345678", true},   {"0822123456", false}, {"072212345", false}, {"07221234567", false},
        {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CheckPhone(c.phone), c.valid) << c.phone;
}

TEST(CodeChecks, Email)
{
    const struct {
        const char *email;
        bool valid;
    } cases[] = {
        {"ion@primaria.ro", true},       {"ion.pop@gmail.com", true},  {"ion@mail.primaria.ro", false},
        {"io@primaria.ro", false},       {"ion@a.ro", false},          {"ion@ab.ro", true},
        {"ion@primaria.info", false},    {"ion@primaria", false},      {"ion@prim@aria.ro", false},
        {"ion pop@primaria.ro", false},  {"ionprimaria.ro", false},    {"ion_1-x@site-x.eu", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CheckEmail(c.email), c.valid) << c.email;
}

} // namespace
