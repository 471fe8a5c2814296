// wsprintfA: the conversions the program uses and their neighbours, and
// the 1024-byte limit.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Wsprintf, Conversions)
{
    char buf[1100];
    struct {
        std::string got, want;
    } cases[] = {
        {(wsprintfA(buf, "COM%d", 5), buf), "COM5"},
        {(wsprintfA(buf, "COM%d", 256), buf), "COM256"},
        {(wsprintfA(buf, "\\\\.\\%s", "COM7"), buf), "\\\\.\\COM7"},
        {(wsprintfA(buf, "%d|%i|%u", -42, 7, 4000000000u), buf), "-42|7|4000000000"},
        {(wsprintfA(buf, "%x|%X|%#x|%04x", 255, 255, 255, 10), buf), "ff|FF|0xff|000a"},
        {(wsprintfA(buf, "[%5d][%-5d][%05d]", 42, 42, -42), buf), "[   42][42   ][-0042]"},
        {(wsprintfA(buf, "[%c][%3c]", 'A', 'B'), buf), "[A][  B]"},
        {(wsprintfA(buf, "[%8s][%-6s][%.2s]", "abc", "ab", "xyz"), buf), "[     abc][ab    ][xy]"},
        {(wsprintfA(buf, "100%% %ld %lu %lx", (LONG)-1, (ULONG)1, (ULONG)255), buf), "100% -1 1 ff"},
        {(wsprintfA(buf, "%s", (const char *)nullptr), buf), "(null)"},
        {(wsprintfA(buf, "%q%d%", 5), buf), "%q5"},
    };
    for (auto &c : cases)
        EXPECT_EQ(c.got, c.want);
}

TEST(Wsprintf, NeverStoresMoreThan1024Bytes)
{
    std::string long_text(2000, 'x');
    char buf[2100];
    std::memset(buf, '#', sizeof buf);
    int n = wsprintfA(buf, "%s%s", long_text.c_str(), "tail");
    EXPECT_EQ(n, 1023);
    EXPECT_EQ(buf[1023], '\0');
    EXPECT_EQ(buf[1024], '#'); // nothing written past the limit
    EXPECT_EQ(std::string(buf), std::string(1023, 'x'));
    n = wsprintfA(buf, "%2000d", 1);
    EXPECT_EQ(n, 1023);
    EXPECT_EQ(buf[1024], '#');
    n = wsprintfA(buf, "%99999999999999999999d|%.99999999999999999999s", 7, "abc");
    EXPECT_EQ(n, 1023) << "a huge width is no overflow";
    EXPECT_EQ(buf[1024], '#');
}

} // namespace
