// The Win32 system services against the real system: processes, the current directory,
// readable memory, the debug output, and the durable replacement of a file.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win32/win32_files.h"
#include "platform/win32/win32_system.h"
#include "tests/win32/test_windows.h"

namespace mivo::win32::test {
namespace {

TEST(Processes, AMissingProgramFailsCleanly) {
  Win32System system;
  mivo::ProcessInfo info;
  EXPECT_FALSE(system.CreateProcess("rmfilter_Q5_not_here.exe", &info));
  EXPECT_EQ(info.process, 0u);
  EXPECT_EQ(info.thread, 0u);
  // Nothing to wait for, nothing to close.
  EXPECT_EQ(system.WaitForSingleObject(info.process, 1000), static_cast<mivo::DWORD>(WAIT_FAILED));
  EXPECT_FALSE(system.CloseHandle(info.thread));
  EXPECT_FALSE(system.CreateProcess(nullptr, &info));
}

TEST(Processes, AProgramStartsHiddenAndIsWaitedFor) {
  Win32System system;
  mivo::ProcessInfo info;
  ASSERT_TRUE(system.CreateProcess("cmd.exe /c exit 3", &info));
  EXPECT_TRUE(system.CloseHandle(info.thread));
  EXPECT_EQ(system.WaitForSingleObject(info.process, INFINITE),
            static_cast<mivo::DWORD>(WAIT_OBJECT_0));
  ::DWORD status = 0;
  ::GetExitCodeProcess(ToHandle(info.process), &status);
  EXPECT_EQ(status, 3u);
  EXPECT_TRUE(system.CloseHandle(info.process));
}

TEST(CurrentDirectory, TooSmallABufferGetsTheSizeNeededAndNothingWritten) {
  Win32System system;
  char full[MAX_PATH] = {};
  const mivo::DWORD length = system.GetCurrentDirectory(sizeof full, full);
  ASSERT_GT(length, 2u);
  char small[2] = {'x', 'x'};
  EXPECT_EQ(system.GetCurrentDirectory(sizeof small, small), length + 1);
}

TEST(ReadableMemory, CountsCommittedReadableBytesOnly) {
  Win32System system;
  EXPECT_EQ(system.ReadableBytes(nullptr, 64), 0u);
  char local[32] = "caller";
  EXPECT_EQ(system.ReadableBytes(local, sizeof local), sizeof local);
  EXPECT_EQ(system.ReadableBytes(local, 0), 0u);

  SYSTEM_INFO info;
  ::GetSystemInfo(&info);
  const std::size_t page = info.dwPageSize;
  // Three pages reserved: readable, no access, guard; and a fourth reserved only.
  auto* base = static_cast<char*>(::VirtualAlloc(nullptr, 4 * page, MEM_RESERVE, PAGE_NOACCESS));
  ASSERT_NE(base, nullptr);
  ASSERT_NE(::VirtualAlloc(base, page, MEM_COMMIT, PAGE_READWRITE), nullptr);
  ASSERT_NE(::VirtualAlloc(base + page, page, MEM_COMMIT, PAGE_NOACCESS), nullptr);
  ASSERT_NE(::VirtualAlloc(base + 2 * page, page, MEM_COMMIT, PAGE_READONLY | PAGE_GUARD), nullptr);

  // A text that runs up to the end of the readable page is read no further.
  EXPECT_EQ(system.ReadableBytes(base + page - 10, 64), 10u);
  EXPECT_EQ(system.ReadableBytes(base, 2 * page), page);
  EXPECT_EQ(system.ReadableBytes(base + page, 16), 0u);
  EXPECT_EQ(system.ReadableBytes(base + 2 * page, 16), 0u);
  EXPECT_EQ(system.ReadableBytes(base + 3 * page, 16), 0u);
  // Garbage values of the kind a stray lParam holds.
  EXPECT_EQ(system.ReadableBytes(reinterpret_cast<void*>(0x10), 16), 0u);
  EXPECT_EQ(system.ReadableBytes(reinterpret_cast<void*>(~std::uintptr_t{0} - 4), 16), 0u);
  ::VirtualFree(base, 0, MEM_RELEASE);
}

TEST(DebugOutput, ALineOfAnyLengthIsWritten) {
  Win32System system;
  system.OutputDebugString("MivoRun: a diagnostics line");
  system.OutputDebugString(std::string(5000, 'x').c_str());
  system.OutputDebugString(nullptr);
}

class ReplaceFileTest : public ::testing::Test {
 protected:
  std::string Target() const { return folder_.File("setup.ini"); }
  TempFolder folder_;
  Win32Files files_;
};

TEST_F(ReplaceFileTest, CreatesAndReplacesWholeFilesLeavingNoTemporaryFile) {
  const std::string first = "[SYSTEM]\r\nVOL=32768\r\n";
  EXPECT_EQ(files_.ReplaceFile(Target().c_str(), first.data(), first.size()),
            mivo::ReplaceResult::kReplaced);
  EXPECT_EQ(ReadFileText(Target()), first);
  const std::string second = "[SYSTEM]\r\nVOL=1\r\n";
  EXPECT_EQ(files_.ReplaceFile(Target().c_str(), second.data(), second.size()),
            mivo::ReplaceResult::kReplaced);
  EXPECT_EQ(ReadFileText(Target()), second);
  EXPECT_EQ(::GetFileAttributesA(Win32Files::TempPathOf(Target()).c_str()),
            INVALID_FILE_ATTRIBUTES);
}

TEST_F(ReplaceFileTest, AStaleTemporaryFileFromAnInterruptedSaveIsReplaced) {
  const std::string temp = Win32Files::TempPathOf(Target());
  const ::HANDLE stale =
      ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(stale, INVALID_HANDLE_VALUE);
  ::CloseHandle(stale);
  EXPECT_EQ(files_.ReplaceFile(Target().c_str(), "new", 3), mivo::ReplaceResult::kReplaced);
  EXPECT_EQ(ReadFileText(Target()), "new");
  EXPECT_EQ(::GetFileAttributesA(temp.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ReplaceFileTest, AReadOnlyFileIsLeftAsItWas) {
  ASSERT_EQ(files_.ReplaceFile(Target().c_str(), "old", 3), mivo::ReplaceResult::kReplaced);
  ASSERT_TRUE(::SetFileAttributesA(Target().c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(files_.ReplaceFile(Target().c_str(), "new", 3), mivo::ReplaceResult::kReadOnly);
  EXPECT_EQ(ReadFileText(Target()), "old");
}

TEST_F(ReplaceFileTest, AMissingFolderFailsWithoutAFile) {
  const std::string target = folder_.File("no such folder\\setup.ini");
  EXPECT_EQ(files_.ReplaceFile(target.c_str(), "new", 3), mivo::ReplaceResult::kFailed);
  EXPECT_EQ(files_.ReplaceFile(nullptr, "new", 3), mivo::ReplaceResult::kFailed);
}

}  // namespace
}  // namespace mivo::win32::test
