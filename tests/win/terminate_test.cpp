// The program's terminate handler (app/terminate_handler.cpp) ends the
// process as abort does, and says nothing of its own first: run in a probe
// linked as the executables are, its output and exit code after an uncaught
// exception are those of a plain abort.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

struct Ending {
    DWORD code;
    std::string output;
};

// Runs the probe beside this test with `argument`, its standard output and
// error into a file; how it ended.
Ending run_probe(const wchar_t* argument, const std::wstring& folder) {
    wchar_t self[MAX_PATH];
    const std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    std::wstring command = L"\"" + path.substr(0, path.find_last_of(L'\\')) +
                           L"\\tavisko-terminate-probe.exe\" " + argument;
    const std::wstring output_path = folder + L"\\" + argument + L".txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    Ending ending{DWORD(-1), "<not run>"};
    {
        const OwnedHandle output(CreateFileW(output_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                             &inherit, CREATE_ALWAYS, 0, nullptr));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = startup.hStdError = output.get();
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                            nullptr, nullptr, &startup, &process)) {
            return ending;
        }
        if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
            GetExitCodeProcess(process.hProcess, &ending.code);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    read_file_bytes(output_path, ending.output);
    return ending;
}

TEST(TerminateHandler, AnUncaughtExceptionEndsTheProcessAsAbortDoes) {
    TempFolder folder;
    const Ending aborted = run_probe(L"abort", folder.path);
    const Ending thrown = run_probe(L"throw", folder.path);
    EXPECT_EQ(aborted.code, 3u) << "the C runtime's abort";
    EXPECT_EQ(thrown.code, 3u);
    EXPECT_EQ(thrown.output, aborted.output) << "nothing said before the abort";
}

} // namespace
