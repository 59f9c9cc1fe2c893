#include "platform/profile_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "platform/errors.h"
#include "platform/file_lock.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "platform/testing/unprivileged.h"

namespace platform {
namespace {

using testing::ScratchDir;
using namespace std::chrono_literals;
using namespace std::string_literals;

TEST(ProfileFile, ReadsGiveTheDefaultForWhatIsMissing) {
  ScratchDir dir;
  ProfileFile missingFile(dir.Path("zeder.INI"));
  EXPECT_EQ(missingFile.ReadString("ZERAVU", "DBOPENDIR", "/home/u"), "/home/u");
  EXPECT_EQ(missingFile.ReadInteger("ZERAVU", "N", 7), 7);
  EXPECT_TRUE(missingFile.ReadBool("ZERAVU", "DESIGNOK", true));

  ProfileFile file(dir.Write("zeder.INI", "[HOST]\nDBOPENDIR=/host\n[ZERAVU]\nDESIGNOK=1\n"));
  EXPECT_EQ(file.ReadString("EXCEL", "PATH", "dflt"), "dflt");
  EXPECT_EQ(file.ReadString("ZERAVU", "DBOPENDIR", "dflt"), "dflt");
  EXPECT_EQ(file.FileName(), dir.Path("zeder.INI"));
}

TEST(ProfileFile, NamesMatchWithoutCaseAndBlanksDoNotCount) {
  ScratchDir dir;
  ProfileFile file(dir.Write("zeder.INI",
                             "; comment=1\n"
                             "KEY=outside any section\n"
                             "  [ Zeravu ]  \r\n"
                             "  DbOpenDir  =  /home/u/문서 함  \r\n"
                             "#DESIGNOK=1\n"
                             "Empty=\n"
                             "[zeravu2]\n"
                             "DESIGNOK=1\n"));
  // The file holds UTF-8 here, which CP949 reads as something else; use ASCII for the value.
  EXPECT_EQ(file.ReadString("ZERAVU", "dbopendir", "x").substr(0, 7), "/home/u");
  EXPECT_EQ(file.ReadString("zErAvU", "EMPTY", "x"), "");
  EXPECT_EQ(file.ReadString("ZERAVU", "KEY", "x"), "x");
  EXPECT_EQ(file.ReadString("ZERAVU", "DESIGNOK", "x"), "x");  // commented out, other section
  EXPECT_EQ(file.ReadString("ZERAVU", "; comment", "x"), "x");
}

TEST(ProfileFile, ValuesAreCp949OnDiskAndUtf8ThroughTheApi) {
  ScratchDir dir;
  ProfileFile file(dir.Path("zeder.INI"));
  file.WriteString("ZERAVU", "DBOPENDIR", "/home/사용자/주소록");
  file.WriteString("ZERAVU", "DBOPENNAME", "가족😀.mdb");
  EXPECT_EQ(dir.Read("zeder.INI"),
            "[ZERAVU]\nDBOPENDIR=/home/\xBB\xE7\xBF\xEB\xC0\xDA/\xC1\xD6\xBC\xD2\xB7\xCF\n"
            "DBOPENNAME=\xB0\xA1\xC1\xB7?.mdb\n");
  EXPECT_EQ(file.ReadString("zeravu", "DBOPENDIR", ""), "/home/사용자/주소록");
  EXPECT_EQ(file.ReadString("zeravu", "DBOPENNAME", ""), "가족?.mdb");
}

TEST(ProfileFile, AtMost2047BytesOfAValueComeBackAndNoHalfCharacter) {
  ScratchDir dir;
  std::string hangul;  // 2 + 1500 * 2 bytes; byte 2047 is the first half of a character
  for (int i = 0; i < 1500; ++i) hangul += "\xB0\xA1";
  ProfileFile file(dir.Write("zeder.INI", "[S]\nexact=" + std::string(2047, 'e') + "\nlong=" +
                                              std::string(3000, 'l') + "\nko=aa" + hangul + "\n"));
  EXPECT_EQ(file.ReadString("S", "exact", ""), std::string(2047, 'e'));
  EXPECT_EQ(file.ReadString("S", "long", ""), std::string(2047, 'l'));
  std::string expected = "aa";
  for (int i = 0; i < 1022; ++i) expected += "가";
  EXPECT_EQ(file.ReadString("S", "ko", ""), expected);
}

TEST(ProfileFile, IntegersAndBooleans) {
  ScratchDir dir;
  ProfileFile file(dir.Write("zeder.INI", "[S]\nhex=0x1F\nbad=12a\nempty=\nneg= -3 \n"));
  EXPECT_EQ(file.ReadInteger("S", "hex", 0), 31);
  EXPECT_EQ(file.ReadInteger("S", "bad", 5), 5);
  EXPECT_EQ(file.ReadInteger("S", "empty", 5), 5);
  EXPECT_EQ(file.ReadInteger("S", "neg", 0), -3);
  EXPECT_TRUE(file.ReadBool("S", "neg", false));
  EXPECT_FALSE(file.ReadBool("S", "bad", false));

  file.WriteBool("S", "yes", true);
  file.WriteBool("S", "no", false);
  file.WriteInteger("S", "n", -42);
  EXPECT_EQ(dir.Read("zeder.INI"),
            "[S]\nhex=0x1F\nbad=12a\nempty=\nneg= -3 \nyes=1\nno=0\nn=-42\n");
  EXPECT_TRUE(file.ReadBool("S", "yes", false));
  EXPECT_FALSE(file.ReadBool("S", "no", true));
}

// Each write touches one line, or adds lines in one place; every other byte stays as it was.
TEST(ProfileFile, WriteShapes) {
  struct {
    const char* name;
    std::string before;
    std::string after;  // after writing ZERAVU / DESIGNOK = 1
  } cases[] = {
      {"missing file", "", "[ZERAVU]\nDESIGNOK=1\n"},
      {"replace in place, CRLF kept",
       "[HOST]\r\nDESIGNOK=host's\r\n[zeravu]\r\n  designok = 0 \r\nDBOPENNAME=a.mdb\r\n",
       "[HOST]\r\nDESIGNOK=host's\r\n[zeravu]\r\nDESIGNOK=1\r\nDBOPENNAME=a.mdb\r\n"},
      {"insert after the section's last key, before its blank lines and comments",
       "; host settings\n[HOST]\nA = 1\n\n[ZERAVU]\nDBOPENDIR=/a\n; note\nnot a key\n\n"
       "# other\n[EXCEL]\nPATH=/x",
       "; host settings\n[HOST]\nA = 1\n\n[ZERAVU]\nDBOPENDIR=/a\nDESIGNOK=1\n; note\nnot a key\n"
       "\n# other\n[EXCEL]\nPATH=/x"},
      {"section without keys", "[ZERAVU]\r\n[HOST]\r\n", "[ZERAVU]\r\nDESIGNOK=1\r\n[HOST]\r\n"},
      {"section's last line has no line end", "[ZERAVU]\nA=1", "[ZERAVU]\nA=1\nDESIGNOK=1\n"},
      {"new section after a file without final line end", "[HOST]\nA=1",
       "[HOST]\nA=1\n[ZERAVU]\nDESIGNOK=1\n"},
      {"new section in a CRLF file", "[HOST]\r\nA=1\r\n\r\n",
       "[HOST]\r\nA=1\r\n\r\n[ZERAVU]\r\nDESIGNOK=1\r\n"},
      {"duplicated section and key: the first is replaced",
       "[ZERAVU]\nDESIGNOK=0\nDESIGNOK=2\n[ZERAVU]\nDESIGNOK=3\n",
       "[ZERAVU]\nDESIGNOK=1\nDESIGNOK=2\n[ZERAVU]\nDESIGNOK=3\n"},
      {"key only in the second copy of the section", "[ZERAVU]\nA=1\n[X]\n[ZERAVU]\nDESIGNOK=0\n",
       "[ZERAVU]\nA=1\n[X]\n[ZERAVU]\nDESIGNOK=1\n"},
      {"key before any section is not the section's", "DESIGNOK=0\n[ZERAVU]\n",
       "DESIGNOK=0\n[ZERAVU]\nDESIGNOK=1\n"},
      {"junk and binary lines", "\x01\xFF\x00garbage\n[ZERAVU\n=\n[]\nx"s,
       "\x01\xFF\x00garbage\n[ZERAVU\n=\nDESIGNOK=1\n[]\nx"s},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    if (!c.before.empty()) dir.Write("zeder.INI", c.before);
    ProfileFile file(dir.Path("zeder.INI"));
    file.WriteString("ZERAVU", "DESIGNOK", "1");
    EXPECT_EQ(dir.Read("zeder.INI"), c.after) << c.name;
    EXPECT_EQ(file.ReadString("ZERAVU", "DESIGNOK", ""), "1") << c.name;
  }
}

TEST(ProfileFile, OverlongLinesAndBinaryBytesAreHarmless) {
  ScratchDir dir;
  std::string junk(ProfileFile::kMaxFileSize / 2 - 64, '\0');  // the file just fits
  for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>(i * 7919 % 251);
  std::string content = "[ZERAVU]\nDBOPENDIR=" + junk + "\n" + junk + "\n";
  ProfileFile file(dir.Write("zeder.INI", content));
  EXPECT_LE(file.ReadString("ZERAVU", "DBOPENDIR", "").size(), 2047u * 3);
  file.WriteString("ZERAVU", "DESIGNOK", "1");
  std::string after = dir.Read("zeder.INI");
  std::size_t inserted = after.find("DESIGNOK=1\n");
  ASSERT_NE(inserted, std::string::npos);
  EXPECT_EQ(after.erase(inserted, 11), content);
  EXPECT_EQ(file.ReadString("ZERAVU", "DESIGNOK", ""), "1");
}

TEST(ProfileFile, WriteKeepsTheFilesModeAndCreatesOneUnderTheUmask) {
  ScratchDir dir;
  std::string path = dir.Write("zeder.INI", "[ZERAVU]\n");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  testing::ScopedUmask mask(077);
  ProfileFile(path).WriteString("ZERAVU", "DESIGNOK", "1");
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  ProfileFile(dir.Path("new.INI")).WriteString("A", "B", "C");
  ASSERT_EQ(stat(dir.Path("new.INI").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST(ProfileFile, FailedWritesSayUnableToWriteAndLeaveTheFile) {
  ScratchDir dir;
  const std::string before = "[HOST]\nX=1\n";
  ASSERT_EQ(mkdir(dir.Path("ro").c_str(), 0777), 0);
  const std::string path = dir.Write("ro/zeder.INI", before);
  ASSERT_EQ(chmod(dir.Path("ro").c_str(), 0555), 0);
  testing::RunAsUnprivileged([&] {
    ProfileFile file(path);
    try {
      file.WriteString("ZERAVU", "DESIGNOK", "1");
      ADD_FAILURE() << "wrote into a read-only folder";
    } catch (const EIniFileError& e) {
      EXPECT_EQ(e.Message(), "Unable to write to " + path);
    }
    EXPECT_EQ(file.ReadString("HOST", "X", ""), "1");
  });
  EXPECT_EQ(dir.Read("ro/zeder.INI"), before);

  for (const char* value : {"a\nDESIGNOK=1", "a\r"}) {
    ProfileFile file(dir.Write("zeder.INI", before));
    EXPECT_THROW(file.WriteString("HOST", "Y", value), EIniFileError);
    EXPECT_EQ(dir.Read("zeder.INI"), before);
  }
  ProfileFile noFolder(dir.Path("missing/zeder.INI"));
  EXPECT_THROW(noFolder.WriteString("A", "B", "C"), EIniFileError);
}

std::string KeyName(int i) {
  std::string name = "K";  // built in steps: GCC 12 misreports "literal" + std::string
  return name.append(std::to_string(i));
}

TEST(ProfileFile, AWriteSweepsTheTemporaryFilesOfWritersThatDied) {
  ScratchDir dir;
  const std::string path = dir.Write("zeder.INI", "[HOST]\nKEEP=1\n");
  dir.Write(".zeder.INI.k3Xq9Z", "[HOST]\nKE");  // a writer killed while committing
  dir.Write(".zeder.INI.old-copy", "the host's own");
  dir.Write(".other.INI.k3Xq9Z", "another file's");
  ProfileFile(path).WriteString("ZERAVU", "DESIGNOK", "1");
  EXPECT_FALSE(access(dir.Path(".zeder.INI.k3Xq9Z").c_str(), F_OK) == 0);
  EXPECT_EQ(dir.Read(".zeder.INI.old-copy"), "the host's own");
  EXPECT_EQ(dir.Read(".other.INI.k3Xq9Z"), "another file's");
}

TEST(ProfileFile, ConcurrentWritersInTwoProcessesLoseNoKey) {
  ScratchDir dir;
  const std::string path = dir.Write("zeder.INI", "[HOST]\nKEEP=1\n");
  constexpr int kKeys = 200;
  pid_t children[2];
  for (int writer = 0; writer < 2; ++writer) {
    children[writer] = fork();
    ASSERT_GE(children[writer], 0);
    if (children[writer] == 0) {
      int status = 0;
      try {
        ProfileFile file(path);
        for (int i = 0; i < kKeys; ++i) {
          file.WriteInteger(writer == 0 ? "ZERAVU" : "HOST", KeyName(i), i);
        }
      } catch (...) {
        status = 1;
      }
      _exit(status);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  ProfileFile file(path);
  EXPECT_EQ(file.ReadString("HOST", "KEEP", ""), "1");
  for (int i = 0; i < kKeys; ++i) {
    EXPECT_EQ(file.ReadInteger("ZERAVU", KeyName(i), -1), i);
    EXPECT_EQ(file.ReadInteger("HOST", KeyName(i), -1), i);
  }
}

struct Memory {
  std::size_t Resident = 0;  // VmRSS
  std::size_t Peak = 0;      // VmHWM
};

Memory MemoryNow() {
  Memory memory;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) memory.Resident = std::stoul(line.substr(6)) * 1024;
    if (line.rfind("VmHWM:", 0) == 0) memory.Peak = std::stoul(line.substr(6)) * 1024;
  }
  return memory;
}

// How far the peak memory of a child process running `body` rose above what the child held
// when it started; nothing when the child could not tell or `body` failed.
std::optional<std::size_t> PeakGrowthOf(const std::function<bool()>& body) {
  int report[2];
  if (pipe(report) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child == 0) {
    close(report[0]);
    std::size_t growth = 0;
    // Writing 5 to clear_refs starts the peak afresh from what the process holds now.
    std::ofstream("/proc/self/clear_refs") << "5";
    const Memory start = MemoryNow();
    const bool cleared = start.Peak < start.Resident + (std::size_t{1} << 20);
    if (cleared && body()) growth = MemoryNow().Peak - start.Peak + 1;
    _exit(write(report[1], &growth, sizeof growth) == sizeof growth ? 0 : 1);
  }
  close(report[1]);
  std::size_t growth = 0;
  const bool got = read(report[0], &growth, sizeof growth) == sizeof growth;
  close(report[0]);
  waitpid(child, nullptr, 0);
  if (!got || growth == 0) return std::nullopt;
  return growth - 1;
}

// A file of nothing but line ends is the worst case for a parser that keeps something per line
// (such a parser took about seventy times the file). A read and a write hold a few copies of the
// file at a time; the bound leaves room for the sanitizer build's own bookkeeping.
TEST(ProfileFile, MemoryStaysAFewTimesTheFileSize) {
  ScratchDir dir;
  const std::string tail = "[ZERAVU]\nDBOPENDIR=/a\n";
  const std::string content = std::string(ProfileFile::kMaxFileSize - tail.size(), '\n') + tail;
  const std::string path = dir.Write("zeder.INI", content);
  const std::optional<std::size_t> growth = PeakGrowthOf([&] {
    ProfileFile file(path);
    if (file.ReadString("ZERAVU", "DBOPENDIR", "") != "/a") return false;
    file.WriteString("ZERAVU", "DBOPENDIR", "/b");
    return file.ReadString("ZERAVU", "DBOPENDIR", "") == "/b";
  });
  ASSERT_TRUE(growth) << "the child failed or could not measure its memory";
  EXPECT_LE(*growth, 16 * content.size()) << "peak growth " << *growth << " bytes";
}

TEST(ProfileFile, AFileTooLargeToBeSettingsIsRefusedByReadsAndWrites) {
  ScratchDir dir;
  const std::string atLimit = "[ZERAVU]\nA=1\n" + std::string(ProfileFile::kMaxFileSize - 13, ';');
  ASSERT_EQ(atLimit.size(), ProfileFile::kMaxFileSize);
  const std::string path = dir.Write("zeder.INI", atLimit);
  ProfileFile file(path);
  EXPECT_EQ(file.ReadInteger("ZERAVU", "A", 0), 1);
  // The key line would grow the file past the limit.
  EXPECT_THROW(file.WriteString("ZERAVU", "A", "12"), EIniFileError);
  EXPECT_EQ(dir.Read("zeder.INI"), atLimit);

  const std::string tooLarge = atLimit + ";";
  dir.Write("zeder.INI", tooLarge);
  const std::function<void()> reads[] = {
      [&] { file.ReadString("ZERAVU", "A", "default"); },
      [&] { file.ReadInteger("ZERAVU", "A", 7); },
      [&] { file.Read(); },
  };
  for (const auto& read : reads) {
    try {
      read();
      ADD_FAILURE() << "a refused file read as defaults";
    } catch (const EIniFileError& e) {
      EXPECT_EQ(e.Message(), "Unable to read " + path + ": the file is larger than 1048576 " +
                                 "bytes, far more than a settings file holds");
    }
  }
  try {
    file.WriteString("ZERAVU", "B", "1");
    ADD_FAILURE() << "wrote into a refused file";
  } catch (const EIniFileError& e) {
    EXPECT_EQ(e.Message(), "Unable to write to " + path);
  }
  EXPECT_EQ(dir.Read("zeder.INI"), tooLarge);
}

TEST(ProfileFile, AFifoAtThePathStopsNothing) {
  ScratchDir dir;
  const std::string path = dir.Path("zeder.INI");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  ProfileFile file(path);
  EXPECT_EQ(file.ReadString("ZERAVU", "A", "default"), "default");
  EXPECT_THROW(file.WriteString("ZERAVU", "A", "1"), EIniFileError);
}

TEST(ProfileFile, AWriterWaitsABoundedTimeForTheLockThenFailsLikeAnyWrite) {
  ScratchDir dir;
  const std::string before = "[HOST]\nX=1\n";
  const std::string path = dir.Write("zeder.INI", before);
  {
    const FileLock otherWriter(dir.Path(".zeder.INI.lock"), 0ms);  // one that never finishes
    ProfileFile file(path, 0666, 200ms);
    try {
      file.WriteString("ZERAVU", "DESIGNOK", "1");
      ADD_FAILURE() << "wrote while another writer held the lock";
    } catch (const EIniFileError& e) {
      EXPECT_EQ(e.Message(), "Unable to write to " + path);
    }
    EXPECT_EQ(dir.Read("zeder.INI"), before);
  }
  // The writer that gave up keeps nothing locked.
  ProfileFile(path, 0666, 200ms).WriteString("ZERAVU", "DESIGNOK", "1");
  EXPECT_EQ(ProfileFile(path).ReadString("ZERAVU", "DESIGNOK", ""), "1");
}

// The lock file is the user's own and nobody else can open it; one that is not the user's own is
// never used.
TEST(ProfileFile, TheLockFileIsTheUsersOwn) {
  ScratchDir dir;
  const std::string path = dir.Write("zeder.INI", "[HOST]\nX=1\n");
  const std::string lock = dir.Path(".zeder.INI.lock");
  ProfileFile(path).WriteString("ZERAVU", "A", "1");
  struct stat info;
  ASSERT_EQ(lstat(lock.c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(info.st_uid, geteuid());
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  testing::RunAsUnprivileged([&] { EXPECT_LT(open(lock.c_str(), O_RDONLY), 0); });

  ASSERT_EQ(chmod(lock.c_str(), 0644), 0);  // widened by someone: narrowed again
  ProfileFile(path).WriteString("ZERAVU", "A", "2");
  ASSERT_EQ(lstat(lock.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);

  ASSERT_EQ(unlink(lock.c_str()), 0);
  const std::string victim = dir.Write("victim", "precious");
  ASSERT_EQ(symlink(victim.c_str(), lock.c_str()), 0);
  EXPECT_THROW(ProfileFile(path).WriteString("ZERAVU", "A", "3"), EIniFileError);
  EXPECT_EQ(dir.Read("victim"), "precious");

  if (geteuid() != 0) return;  // a file of another user's can only be planted by root
  ASSERT_EQ(unlink(lock.c_str()), 0);
  dir.Write(".zeder.INI.lock", "");
  ASSERT_EQ(chown(lock.c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId), 0);
  EXPECT_THROW(ProfileFile(path).WriteString("ZERAVU", "A", "4"), EIniFileError);
  EXPECT_EQ(ProfileFile(path).ReadString("ZERAVU", "A", ""), "2");
}

}  // namespace
}  // namespace platform
