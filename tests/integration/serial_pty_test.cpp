// Real termios on pseudo-terminals through tools/brelox-ports: the layer's
// serial functions and the whole tester, with the real clock.
#include "../app/tester_checks.h"
#include "../support/port_server.h"

#include <dirent.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <thread>

using namespace brelox::testing;
using brelox::headless::Script;

namespace {

HANDLE open_port(const char *path)
{
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// Waits, with the real clock, until `count` bytes are waiting or 2 s pass.
DWORD wait_for_bytes(HANDLE h, DWORD count)
{
    DWORD start = GetTickCount();
    COMSTAT st{};
    DWORD errors = 0;
    do {
        ClearCommError(h, &errors, &st);
        if (st.cbInQue >= count)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } while (GetTickCount() - start < 2000);
    return st.cbInQue;
}

int open_descriptors()
{
    int n = 0;
    DIR *d = opendir("/proc/self/fd");
    while (readdir(d) != nullptr)
        n++;
    closedir(d);
    return n;
}

TEST(SerialPty, EveryByteValueGoesOutAndComesBackUnchanged)
{
    PortServer server({"5:loopback"});
    ASSERT_TRUE(server.ready());
    server.use();
    HANDLE h = open_port("\\\\.\\COM5");
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    DCB dcb{};
    ASSERT_TRUE(GetCommState(h, &dcb));
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    EXPECT_TRUE(SetCommState(h, &dcb));
    EXPECT_TRUE(EscapeCommFunction(h, SETDTR)) << "a pseudo-terminal refuses modem lines, and still works";
    std::string all;
    for (int i = 0; i < 256; i++)
        all += (char)i;
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(h, all.data(), 256, &written, nullptr));
    EXPECT_EQ(written, 256u);
    ASSERT_EQ(wait_for_bytes(h, 256), 256u);
    std::string back(256, '\0');
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(h, back.data(), 256, &got, nullptr));
    EXPECT_EQ(got, 256u);
    EXPECT_EQ(back, all);
    DCB now{};
    ASSERT_TRUE(GetCommState(h, &now));
    EXPECT_EQ(now.BaudRate, 9600u);
    EXPECT_EQ(now.ByteSize, 8);
    EXPECT_EQ(now.XonChar, 0x11) << "fields the program does not set keep the port's values";
    EXPECT_TRUE(CloseHandle(h));
}

TEST(SerialPty, OpeningRules)
{
    PortServer server({"5:loopback", "256:loopback"});
    ASSERT_TRUE(server.ready());
    server.use();
    std::string regular = server.dir() + "/com9";
    std::ofstream(regular).close();
    ASSERT_EQ(symlink("/dev/null", (server.dir() + "/com10").c_str()), 0);
    ASSERT_EQ(symlink(regular.c_str(), (server.dir() + "/com11").c_str()), 0);

    struct {
        const char *path;
        DWORD error; // ERROR_SUCCESS: opens
    } cases[] = {
        {"\\\\.\\COM5", ERROR_SUCCESS},       {"COM5", ERROR_SUCCESS},
        {"\\\\.\\COM256", ERROR_SUCCESS},     {"\\\\.\\COM6", ERROR_FILE_NOT_FOUND},
        {"\\\\.\\COM9", ERROR_FILE_NOT_FOUND}, {"\\\\.\\COM10", ERROR_FILE_NOT_FOUND},
        {"\\\\.\\COM11", ERROR_FILE_NOT_FOUND}, {"\\\\.\\COM0", ERROR_FILE_NOT_FOUND},
        {"\\\\.\\COM257", ERROR_FILE_NOT_FOUND}, {"C:\\boot.ini", ERROR_FILE_NOT_FOUND},
    };
    for (auto &c : cases) {
        HANDLE h = open_port(c.path);
        if (c.error == ERROR_SUCCESS) {
            EXPECT_NE(h, INVALID_HANDLE_VALUE) << c.path;
            CloseHandle(h);
        } else {
            EXPECT_EQ(h, INVALID_HANDLE_VALUE) << c.path;
            EXPECT_EQ(GetLastError(), c.error) << c.path;
        }
    }
    std::ifstream f(regular, std::ios::ate);
    EXPECT_EQ(f.tellg(), 0) << "nothing was written to the regular file";
}

TEST(SerialPty, APortInUseCannotBeOpenedAgainByThisOrAnotherProgram)
{
    PortServer server({"5:loopback"});
    ASSERT_TRUE(server.ready());
    server.use();
    HANDLE first = open_port("\\\\.\\COM5");
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    EXPECT_EQ(open_port("\\\\.\\COM5"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
    pid_t pid = fork();
    if (pid == 0) {
        HANDLE h = open_port("\\\\.\\COM5");
        _exit(h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "another process opened a port in use";
    CloseHandle(first);
    HANDLE again = open_port("\\\\.\\COM5"); // released at once on close
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);
}

TEST(SerialPty, SettingsThePortCannotTakeAreRefused)
{
    PortServer server({"5:loopback"});
    ASSERT_TRUE(server.ready());
    server.use();
    HANDLE h = open_port("\\\\.\\COM5");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DCB good{};
    ASSERT_TRUE(GetCommState(h, &good));
    struct {
        const char *what;
        void (*spoil)(DCB &);
    } cases[] = {
        {"baud 12345", [](DCB &d) { d.BaudRate = 12345; }},
        {"9 data bits", [](DCB &d) { d.ByteSize = 9; }},
        {"4 data bits", [](DCB &d) { d.ByteSize = 4; }},
        {"parity 5", [](DCB &d) { d.Parity = 5; }},
        {"1.5 stop bits with 8 data bits", [](DCB &d) { d.StopBits = ONE5STOPBITS; }},
    };
    for (auto &c : cases) {
        DCB bad = good;
        c.spoil(bad);
        EXPECT_FALSE(SetCommState(h, &bad)) << c.what;
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER) << c.what;
    }
    EXPECT_TRUE(SetCommState(h, &good));
    CloseHandle(h);
}

TEST(SerialPty, AVanishedPortFailsAtOnceAndReportsNothingWaiting)
{
    PortServer server({"5:vanish"});
    ASSERT_TRUE(server.ready());
    server.use();
    HANDLE h = open_port("\\\\.\\COM5");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    WriteFile(h, "X", 1, &n, nullptr); // the port goes away on this
    DWORD start = GetTickCount();
    COMSTAT st{};
    st.cbInQue = 99;
    DWORD errors = 0;
    while (ClearCommError(h, &errors, &st) && GetTickCount() - start < 2000)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(st.cbInQue, 0u);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_DEVICE_NOT_CONNECTED);
    char buf[4];
    EXPECT_FALSE(ReadFile(h, buf, 4, &n, nullptr)) << "a read on a vanished port must not wait for ever";
    EXPECT_FALSE(WriteFile(h, "Y", 1, &n, nullptr));
    EXPECT_LT(GetTickCount() - start, 2000u);
    EXPECT_TRUE(CloseHandle(h));
}

TEST(SerialPty, ManyExchangesLeaveNoDescriptorOpen)
{
    PortServer server({"5:loopback"});
    ASSERT_TRUE(server.ready());
    server.use();
    int before = open_descriptors();
    for (int i = 0; i < 50; i++) {
        HANDLE h = open_port("\\\\.\\COM5");
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD n = 0;
        WriteFile(h, "ABC", 3, &n, nullptr);
        wait_for_bytes(h, 3);
        char buf[8];
        ReadFile(h, buf, 3, &n, nullptr);
        CloseHandle(h);
        EXPECT_EQ(open_port("\\\\.\\COM6"), INVALID_HANDLE_VALUE); // failures leak nothing either
    }
    EXPECT_EQ(open_descriptors(), before);
}

struct TesterRun {
    const char *name;
    std::vector<std::string> ports;
    std::string select; // keys from COM5 to the port
    std::string line;
    std::string shown;
    const char *box;
};

void PrintTo(const TesterRun &r, std::ostream *os) { *os << r.name; }

class TesterOnPty : public ::testing::TestWithParam<TesterRun> {};

TEST_P(TesterOnPty, WholeTest)
{
    const TesterRun &r = GetParam();
    PortServer server(r.ports);
    ASSERT_TRUE(server.ready());
    IN_FRESH_PROCESS({
        server.use();
        Script s;
        s.type(r.select).key(VK_DOWN).type(r.line).type("\r");
        if (r.box != nullptr) {
            s.then([&] {
                ASSERT_EQ(brelox::message_box_log().size(), 1u);
                EXPECT_EQ(brelox::message_box_log()[0].text, r.box);
            });
            s.answer_box();
        }
        s.then([&] {
            if (r.box == nullptr) {
                EXPECT_TRUE(brelox::message_box_log().empty());
                EXPECT_EQ(receive_field((int)r.shown.size() + 1), r.shown + " ");
            } else {
                EXPECT_TRUE(receive_blank());
            }
            EXPECT_CARET_AT(140, 80);
        });
        s.type("\x1b");
        EXPECT_EQ(run_tester(s), 0);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Table, TesterOnPty,
    ::testing::Values(TesterRun{"loop_back_com7", {"7:loopback"}, "++", "ABC", "ABC", nullptr},
                      TesterRun{"com256", {"256:loopback"}, "-----", "XYZ", "XYZ", nullptr},
                      TesterRun{"echo_twice", {"5:twice"}, "", "AB", "AABB", nullptr},
                      TesterRun{"nothing_connected", {"6:open"}, "+", "ABC", "", "Receive error "},
                      TesterRun{"late_echo", {"5:late"}, "", "ABC", "", "Receive error "},
                      TesterRun{"absent", {"6:loopback"}, "", "ABC", "", "Port open error "},
                      TesterRun{"vanishes_during_the_exchange", {"5:vanish"}, "", "ABC", "", "Receive error "}),
    [](const ::testing::TestParamInfo<TesterRun> &info) { return std::string(info.param.name); });

} // namespace

namespace {

// With the real clock started just before the 32-bit wrap, both waits still
// last their 200 ms: nothing connected, so the echo wait runs its full time.
TEST(TesterOnPtyWrap, BothWaitsLast200MsAcrossTheWrap)
{
    PortServer server({"5:open"});
    ASSERT_TRUE(server.ready());
    IN_FRESH_PROCESS({
        server.use();
        setenv("BRELOX_TICK_START", "4294967100", 1); // 196 ms before the wrap
        std::chrono::steady_clock::time_point enter, box;
        Script s;
        s.key(VK_DOWN).type("A");
        s.then([&] { enter = std::chrono::steady_clock::now(); });
        s.type("\r");
        s.then([&] {
            box = std::chrono::steady_clock::now();
            ASSERT_EQ(brelox::message_box_log().size(), 1u);
            EXPECT_EQ(brelox::message_box_log()[0].text, "Receive error ");
        });
        s.answer_box().type("\x1b");
        EXPECT_EQ(run_tester(s), 0);
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(box - enter).count();
        EXPECT_GE(ms, 400) << "a wait ended early at the wrap";
        EXPECT_LT(ms, 1500) << "a wait ran on past the wrap";
    });
}

} // namespace
