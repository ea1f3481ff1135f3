// The programcd program end to end on the simulated recorder: exit codes,
// texts, the disc's sectors and the commands on the wire.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/big_endian.h"
#include "image/image_fixtures.h"

namespace {

struct Outcome {
  int exit = -1;
  std::string out;
  std::string err;
};

std::string Quoted(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

Outcome Programcd(const TempDir& dir, const std::vector<std::string>& args,
              const std::string& input = "") {
  std::string command = Quoted(PROGRAMCD_BINARY);
  for (const auto& a : args) command += " " + Quoted(a);
  WriteBytes(dir.path() + "stdin", Bytes(input.begin(), input.end()));
  command += " <" + Quoted(dir.path() + "stdin") + " >" + Quoted(dir.path() + "stdout") + " 2>" +
             Quoted(dir.path() + "stderr");
  const int status = std::system(("TMPDIR=" + Quoted(dir.path()) + " " + command).c_str());
  return {WEXITSTATUS(status), ReadFile(dir.path() + "stdout"), ReadFile(dir.path() + "stderr")};
}

Bytes Zeros(std::size_t sectors) { return Bytes(sectors * SectorSize, 0); }

void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

// What a recording of each kind must leave on the disc.
Bytes RawDisc(const Bytes& image, const std::string& version) {
  Bytes disc = Zeros(16);
  Bytes versionSector = Zeros(1);
  std::copy_n("ZN_V", 4, versionSector.begin() + 40);
  versionSector[44] = version[0];
  versionSector[45] = version[2];
  versionSector[46] = version[3];
  Append(disc, versionSector);
  Append(disc, Zeros(5));
  Append(disc, image);
  Append(disc, Zeros(296));
  return disc;
}

Bytes DriveFirmwareDisc(const Bytes& file, const std::string& vendorProduct,
                        const std::string& version) {
  Bytes header = Zeros(1);
  std::copy_n("VELDAN MACHINE", 14, header.begin());
  std::copy_n("Drive F/W RWQ-32", 16, header.begin() + 32);
  const std::string ver = "Ver " + version;
  std::copy(ver.begin(), ver.end(), header.begin() + 64);
  Bytes size = Zeros(1);
  WriteBE32(size.data(), static_cast<std::uint32_t>(file.size()));
  const std::string dfw = "Dfw" + vendorProduct;
  std::copy(dfw.begin(), dfw.end(), size.begin() + 8);
  Bytes data = file;
  data.resize((file.size() + SectorSize - 1) / SectorSize * SectorSize, 0);
  Bytes check = Zeros(1);
  WriteBE32(check.data() + 4, 0u - (WordSum32(header) + WordSum32(size) + WordSum32(data)));
  Bytes disc = Zeros(24);
  for (const Bytes* part : {&header, &size, &data, &check}) Append(disc, *part);
  Append(disc, Zeros(296));
  return disc;
}

// The opcodes one recording sends after the scan, for each RecorderType,
// with the sector commands counted.
struct TypeCase {
  int type;
  std::string bus;  // one model of that type at 0:1
};

const TypeCase kTypes[] = {
    {1, "0:1=YAMAHA/CDR100"},         {2, "0:1=PLEXTOR/CD-R   PX-R412C"},
    {3, "0:1=MATSHITA/CD-R   CW-7502"}, {5, "0:1=YAMAHA/CRW4260"},
    {6, "0:1=LITE-ON/LTR-52246S"},     {7, "0:1=TEAC/CD-W540E"},
    {8, "0:1=YAMAHA/CRW2100E"},        {9, "0:1=GENERIC/CRD-BP1500P"},
};

std::vector<std::string> TraceOpcodes(const std::string& trace) {
  std::vector<std::string> ops;
  std::istringstream lines(trace);
  std::string line;
  while (std::getline(lines, line)) ops.push_back(line.substr(line.find(' ') + 1, 2));
  return ops;
}

// Collapses runs of the same opcode to "OPxN".
std::string Runs(const std::vector<std::string>& ops) {
  std::string s;
  for (std::size_t i = 0; i < ops.size();) {
    std::size_t j = i;
    while (j < ops.size() && ops[j] == ops[i]) ++j;
    s += (s.empty() ? "" : " ") + ops[i] + (j - i > 1 ? "x" + std::to_string(j - i) : "");
    i = j;
  }
  return s;
}

std::string ExpectedRuns(int type, int writes, int reads) {
  // Scan: 8 INQUIRYs on adapter 0; readiness; set-up; writes; closing; reads; eject.
  std::string setup;
  switch (type) {
    case 1: setup = "15 E6"; break;
    case 2: case 5: setup = "1A 15 BB 54"; break;
    case 3: setup = "51 52 1A 15 BB 54"; break;
    case 6: case 8: setup = "5A 55 54"; break;
    case 7: setup = "51 52 5A 55 54"; break;
    case 9: setup = "51 52 5A 55"; break;
  }
  const bool queried = type == 2 || type == 5 || type == 6 || type == 8;
  std::string write;
  const int total = writes + 37;
  if (type == 1) {
    write = "0Ax" + std::to_string(total);
  } else if (queried) {
    for (int i = 0; i < total; ++i) write += std::string(i ? " " : "") + "52 2A";
  } else {
    write = "2Ax" + std::to_string(total);
  }
  const std::string close = type == 1 ? "35 E9" : "35 5Bx2";
  return "12x8 00 " + setup + " " + write + " " + close + " 28x" + std::to_string(reads) + " 1B";
}

TEST(Make, EveryRecorderTypeRecordsTheRawLayoutByteExact) {
  const Bytes image = RawFirmwareImage("1.05");
  for (const auto& t : kTypes) {
    SCOPED_TRACE("type " + std::to_string(t.type));
    TempDir dir;
    const std::string file = dir.Write("FW.BIN", image);
    const Outcome run = Programcd(dir, {"make", file, "--simulate=" + t.bus, "--yes", "--trace",
                                    dir.path() + "trace", "--disc-out", dir.path() + "disc"});
    EXPECT_EQ(run.exit, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("Recording is completed"), std::string::npos);
    const std::string disc = ReadFile(dir.path() + "disc");
    const Bytes expected = RawDisc(image, "1.05");
    EXPECT_TRUE(disc == std::string(expected.begin(), expected.end()))
        << "disc of " << disc.size() << " bytes";
    // 22 lead-in sectors and 64 image sectors in 8 runs; 22 + 8 reads.
    EXPECT_EQ(Runs(TraceOpcodes(ReadFile(dir.path() + "trace"))),
              ExpectedRuns(t.type, 22 + 8, 22 + 8));
  }
}

TEST(Make, EveryImageKindLandsOnTheDiscAsLaidOut) {
  TempDir dir;
  const Bytes headed = HeadedFirmwareImage(FirmwareModels()[1], 17, "1.20");
  Bytes headedDisc = Zeros(24);
  Append(headedDisc, headed);
  Append(headedDisc, Zeros(296));
  Bytes discImage = DiscImage({.length = 51200 + 5 * 2048 + 1024});
  Bytes discImageDisc(discImage.begin(), discImage.end() - 1024);
  Append(discImageDisc, Zeros(296));
  const Bytes drive = RecorderFirmwareFile({.product = "PX-760A", .version = "1.07",
                                           .length = 3000});
  struct Case {
    std::string name;
    Bytes file;
    Bytes disc;
  } cases[] = {
      {"headed", headed, headedDisc},
      {"disc image", discImage, discImageDisc},
      {"recorder firmware", drive, DriveFirmwareDisc(drive, "PLEXTOR PX-760A", "1.07")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = dir.Write("IMAGE.BIN", c.file);
    const Outcome made = Programcd(dir, {"make", file, "--simulate", "--yes", "--disc-out",
                                     dir.path() + "disc"});
    EXPECT_EQ(made.exit, 0) << made.out << made.err;
    EXPECT_TRUE(ReadFile(dir.path() + "disc") == std::string(c.disc.begin(), c.disc.end()));
    const Outcome imaged = Programcd(dir, {"image", file, "-o", dir.path() + "image"});
    EXPECT_EQ(imaged.exit, 0) << imaged.err;
    EXPECT_TRUE(ReadFile(dir.path() + "image") == std::string(c.disc.begin(), c.disc.end()));
  }
}

TEST(Make, EveryModelOfTheTableRecordsAndVerifies) {
  const char* kModels[] = {
      "YAMAHA/CDR100",          "YAMAHA/CDR400t",           "YAMAHA/CDR400c",
      "YAMAHA/CRW4416S",        "YAMAHA/CRW4260",           "MATSHITA/CD-R   CW-7502",
      "PLEXTOR/CD-R   PX-R412C", "PLEXTOR/CD-R   PX-R820T",  "MATSHITA/UJDA310",
      "MATSHITA/CD-RW  CW-7585", "GENERIC/CRD-BP1400P",      "YAMAHA/CRW2100E",
      "TEAC/CD-W516EB",         "TEAC/CD-W512EB",           "PLEXTOR/CD-R   PX-W1210A",
      "PLEXTOR/CD-R   PX-W2410A", "PLEXTOR/CD-R   PX-W1610A", "GENERIC/CRD-BP1500P",
      "TEAC/CD-W524E",          "TEAC/CD-W24E",             "TEAC/CD-W28E",
      "PLEXTOR/CD-R   PX-S88T",  "LITE-ON/LTR-52246S",      "TEAC/CD-W552E",
      "TEAC/CD-W540E",
  };
  TempDir dir;
  const std::string file = dir.Write("FW.BIN", RawFirmwareImage("1.05"));
  const Bytes expected = RawDisc(RawFirmwareImage("1.05"), "1.05");
  for (const char* model : kModels) {
    SCOPED_TRACE(model);
    const Outcome run = Programcd(dir, {"make", file, std::string("--simulate=2:6=") + model, "--yes",
                                    "--disc-out", dir.path() + "disc"});
    EXPECT_EQ(run.exit, 0) << run.out << run.err;
    EXPECT_TRUE(ReadFile(dir.path() + "disc") == std::string(expected.begin(), expected.end()));
  }
}

TEST(Make, FailuresReachTheirTextAndExitCode) {
  TempDir dir;
  const std::string file = dir.Write("FW.BIN", RawFirmwareImage());
  struct Case {
    std::string fail;
    std::string text;
    int exit;
  } cases[] = {
      {"2A@5", "recovery error. (Write)", 3},
      {"5A:0", "no recovery error. (ModeSence)", 4},
      {"1B", "recovery error. (Eject)", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fail);
    const Outcome run = Programcd(dir, {"make", file, "--simulate=0:0=TEAC/CD-W540E", "--yes",
                                    "--sim-fail=" + c.fail});
    EXPECT_EQ(run.exit, c.exit);
    EXPECT_NE(run.out.find(c.text + "\n"), std::string::npos) << run.out;
  }
}

TEST(Make, QuestionsAreAnsweredOnTheTerminal) {
  TempDir dir;
  const std::string file = dir.Write("FW.BIN", RawFirmwareImage());
  struct Case {
    std::string input;
    std::vector<std::string> extra;
    int exit;
    std::string shown;
  } cases[] = {
      {"\n", {}, 0, "Recording is completed"},
      {"cancel\n", {}, 2, "Start recording. [OK/Cancel] "},
      {"", {}, 2, "Start recording. [OK/Cancel] "},  // end of input is Cancel
      {"ok\nc\n", {"--sim-no-disc=2"}, 2, "Insert CD-R Disc [OK/Cancel] "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    std::vector<std::string> args = {"make", file, "--simulate"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const Outcome run = Programcd(dir, args, c.input);
    EXPECT_EQ(run.exit, c.exit) << run.out << run.err;
    EXPECT_NE(run.out.find(c.shown), std::string::npos) << run.out;
  }
}

TEST(Scan, ListsTheDialogLinesOrSaysNotConnected) {
  TempDir dir;
  const Outcome found = Programcd(dir, {"scan", "--simulate"});
  EXPECT_EQ(found.exit, 0);
  EXPECT_EQ(found.out,
            "ID:0-03 YAMAHA  CRW2100E        \n"
            "ID:0-05 TEAC    CD-W540E        \n"
            "ID:1-02 PLEXTOR CD-R   PX-W1610A\n");
  const Outcome none = Programcd(dir, {"scan", "--simulate=0:1=ACME/NOTHING"});
  EXPECT_EQ(none.exit, 2);
  EXPECT_EQ(none.out, "The CD Recording Unit is not connected.\n");
}

TEST(Make, RecorderIsChosenByNumberOrId) {
  TempDir dir;
  const std::string file = dir.Write("FW.BIN", RawFirmwareImage());
  for (const std::string choice : {"2", "ID:0-05"}) {
    const Outcome run = Programcd(dir, {"make", file, "--simulate", "--yes", "--recorder", choice,
                                    "--trace", dir.path() + "trace"});
    EXPECT_EQ(run.exit, 0) << run.err;
    // Every command after the scan goes to the TEAC at 0:5.
    const std::string trace = ReadFile(dir.path() + "trace");
    EXPECT_EQ(trace.substr(trace.rfind('\n', trace.size() - 2) + 1, 6), "0:5 1B");
  }
  for (const std::string wrong : {"ID:3-07", "4", "0", "99999999999999999999999"}) {
    const Outcome bad = Programcd(dir, {"make", file, "--simulate", "--yes", "--recorder", wrong});
    EXPECT_EQ(bad.exit, 2);
    EXPECT_NE(bad.err.find("no recorder \"" + wrong + "\""), std::string::npos) << bad.err;
  }
}

TEST(Image, RejectedOrUnrecordableFileLeavesNoOutput) {
  TempDir dir;
  struct Case {
    Bytes file;
    std::string text;
  } cases[] = {
      {Bytes(100, 7), "File Size Error"},
      {RawFirmwareImage("1.5"), "File Version Error"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const Outcome run = Programcd(dir, {"image", dir.Write("X.BIN", c.file), "-o", dir.path() + "out"});
    EXPECT_EQ(run.exit, 1);
    EXPECT_EQ(run.err, c.text + "\n");
    EXPECT_FALSE(std::ifstream(dir.path() + "out").good());
  }
}

TEST(Identify, JsonContract) {
  TempDir dir;
  const std::string raw = dir.Write("RAW.BIN", RawFirmwareImage("1.05"));
  Outcome run = Programcd(dir, {"identify", "--json", raw});
  EXPECT_EQ(run.exit, 0);
  EXPECT_EQ(run.out, "{\"accepted\":true,\"imageKind\":0,\"fileName\":\"" + raw +
                         "\",\"fileVersion\":\"1.05\",\"fileType\":\"ZN7300\",\"message\":\"\"}\n");
  run = Programcd(dir, {"identify", "--json", dir.path() + "none.BIN"});
  EXPECT_EQ(run.exit, 1);
  EXPECT_EQ(run.out,
            "{\"accepted\":false,\"imageKind\":null,\"fileName\":\"\",\"fileVersion\":\"\","
            "\"fileType\":\"\",\"message\":\"File Open Error\"}\n");
}

TEST(Usage, BadOptionsExitTwoAndSayWhy) {
  TempDir dir;
  struct Case {
    std::vector<std::string> args;
    std::string said;
  } cases[] = {
      {{"make"}, "FILE is required"},
      {{"scan", "--simulate=9:1=TEAC/CD-W540E"}, "--simulate"},
      {{"scan", "--sim-fail=zz"}, "--sim-*"},
      {{"scan", "--simulate", "--sim-fail=zz"}, "--sim-fail=zz"},
      {{"bogus"}, "bogus"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    const Outcome run = Programcd(dir, c.args);
    EXPECT_EQ(run.exit, 2);
    EXPECT_NE((run.out + run.err).find(c.said), std::string::npos) << run.out << run.err;
  }
}

// programcd running in the background, its stdin a pipe kept open.
class Background {
 public:
  Background(const TempDir& dir, const std::vector<std::string>& args) : dir_(dir) {
    int input[2];
    EXPECT_EQ(pipe(input), 0);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(input[0], STDIN_FILENO);
      close(input[1]);
      const std::string out = dir.path() + "stdout", err = dir.path() + "stderr";
      freopen(out.c_str(), "w", stdout);
      freopen(err.c_str(), "w", stderr);
      std::vector<char*> argv{const_cast<char*>(PROGRAMCD_BINARY)};
      for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(PROGRAMCD_BINARY, argv.data());
      _exit(127);
    }
    close(input[0]);
    input_ = input[1];
  }
  ~Background() {
    if (input_ >= 0) close(input_);
  }
  // Waits (at most 20 s) until `file` in the directory holds `text`.
  bool WaitFor(const std::string& file, const std::string& text) {
    for (int i = 0; i < 2000; ++i) {
      if (ReadFile(dir_.path() + file).find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  Outcome Stop(int signal) {
    kill(pid_, signal);
    int status = 0;
    waitpid(pid_, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(dir_.path() + "stdout"),
            ReadFile(dir_.path() + "stderr")};
  }

 private:
  const TempDir& dir_;
  pid_t pid_ = -1;
  int input_ = -1;
};

TEST(Interrupt, DuringTheRecordingEndsAfterTheCommandInFlight) {
  for (int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    TempDir dir;
    const std::string file = dir.Write("FW.BIN", RawFirmwareImage());
    // Slow enough that the signal lands among the writes.
    Background run(dir, {"make", file, "--simulate=0:0=TEAC/CD-W540E", "--yes", "--sim-delay=1",
                         "--trace", dir.path() + "trace"});
    ASSERT_TRUE(run.WaitFor("trace", " 2A "));
    const Outcome stopped = run.Stop(signal);
    EXPECT_EQ(stopped.exit, 130);
    EXPECT_NE(stopped.out.find("the disc in the recorder is now unusable"), std::string::npos)
        << stopped.out;
    // Every command traced completed; the last is a write, and no eject came.
    const std::string trace = ReadFile(dir.path() + "trace");
    const std::string last = trace.substr(trace.rfind('\n', trace.size() - 2) + 1);
    EXPECT_EQ(last.substr(0, 6), "0:0 2A") << last;
    EXPECT_EQ(trace.find(" 1B "), std::string::npos);
  }
}

TEST(Interrupt, AtAQuestionIsACleanCancel) {
  TempDir dir;
  const std::string file = dir.Write("FW.BIN", RawFirmwareImage());
  Background run(dir, {"make", file, "--simulate", "--trace", dir.path() + "trace"});
  ASSERT_TRUE(run.WaitFor("stdout", "Start recording. [OK/Cancel]"));
  const Outcome stopped = run.Stop(SIGINT);
  EXPECT_EQ(stopped.exit, 130);
  EXPECT_NE(stopped.out.find("Stopped before anything was written"), std::string::npos);
  EXPECT_EQ(ReadFile(dir.path() + "trace").find(" 2A "), std::string::npos);
}

TEST(Make, WaitGivesUpWhenNoDiscComes) {
  TempDir dir;
  const std::string file = dir.Write("FW.BIN", RawFirmwareImage());
  const Outcome run = Programcd(dir, {"make", file, "--simulate", "--yes", "--wait", "1",
                                      "--sim-no-disc=100"});
  EXPECT_EQ(run.exit, 2);
  EXPECT_NE(run.out.find("No CD-R disc was inserted in the time given by --wait"),
            std::string::npos)
      << run.out;
}

}  // namespace
