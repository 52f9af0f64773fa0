// Writes the seed corpora of the library's fuzz targets, one folder per
// target below the output folder, from what the project's own tools and
// sample files make: recordings written by das-gen, the simulated adapter's
// packets for every frame of the sample installation, and the sample
// setting and table files with the sample items' programs.
//
//   fuzz-seeds TESTDATA-FOLDER OUTPUT-FOLDER
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "das_gen.h"
#include "plus_adapter.h"
#include "scenario.h"
#include "tables/model_tables.h"
#include "tables/scrambled.h"
#include "tramsoll.h"
#include "vexa5_adapter.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

fs::path output;

void writeSeed(const char* target, const std::string& name, const Bytes& bytes) {
  fs::create_directories(output / target);
  std::ofstream(output / target / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The plain text of a sample file with CR LF line ends, as the stored files
// have them.
Bytes textFile(const fs::path& path) {
  Bytes plain = fileBytes(path), text;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (plain[i] == '\n' && (i == 0 || plain[i - 1] != '\r')) text.push_back('\r');
    text.push_back(plain[i]);
  }
  return text;
}

Bytes behind(Bytes head, const Bytes& rest) {
  head.insert(head.end(), rest.begin(), rest.end());
  return head;
}

// das_file_fuzz reads a file as it is; replay_fuzz behind a first byte with
// bit 0 set (clear: its own file, changed at the places the input names).
bool writeRecordings(const fs::path& work) {
  dasgen::Recording periodic = dasgen::periodicRecording("Map 1", 12);
  dasgen::Recording trigger = dasgen::periodicRecording("Map 2", 8);
  trigger.header.recordingKind = tramsoll::das::kTrigger;
  trigger.header.triggerRecord = 3;
  trigger.units[0].conditions = {dasgen::conditionBlock("Run", "On", "", 1)};
  for (const auto& [name, recording] : {std::pair{"periodic", periodic}, std::pair{"trigger", trigger}}) {
    std::string error;
    fs::path path = work / (std::string(name) + ".das");
    if (!dasgen::writeRecording(path.string(), recording, error)) {
      std::fprintf(stderr, "fuzz-seeds: %s\n", error.c_str());
      return false;
    }
    writeSeed("das_file_fuzz", name, fileBytes(path));
    writeSeed("replay_fuzz", name, behind({0x01}, fileBytes(path)));
  }
  writeSeed("replay_fuzz", "own-file", {0x00});
  return true;
}

// The adapters' packets of every frame the sample installation's units send:
// vexa5_receive_fuzz behind its 18 bytes (kind and start bits, then the
// packet in flight: a bus send), plus_receive_fuzz behind its one byte (the
// code in flight: a bus send).
bool writeAdapterStreams(const fs::path& testdata) {
  adaptersim::Scenario scenario;
  std::string error;
  if (!adaptersim::loadScenario((testdata / "installation.scenario").string(), scenario, error)) {
    std::fprintf(stderr, "fuzz-seeds: installation.scenario: %s\n", error.c_str());
    return false;
  }
  Bytes vexa5Head(18, 0), all5, allPlus;
  vexa5Head[0] = 0x02;
  vexa5Head[2] = 'F';
  for (const adaptersim::ScenarioUnit& unit : scenario.units) {
    Bytes unit5, unitPlus;
    for (const adaptersim::ScenarioFrame& frame : unit.frames) {
      Bytes bytes = adaptersim::busFrame(unit, frame);
      Bytes packet5 = adaptersim::Vexa5Adapter::busFramePacket(bytes, frame.status);
      Bytes packetPlus = adaptersim::PlusAdapter::busFramePacket(bytes);
      unit5.insert(unit5.end(), packet5.begin(), packet5.end());
      unitPlus.insert(unitPlus.end(), packetPlus.begin(), packetPlus.end());
    }
    std::string name = "unit-" + std::to_string(unit.address);
    writeSeed("vexa5_receive_fuzz", name, behind(vexa5Head, unit5));
    writeSeed("plus_receive_fuzz", name, behind({2}, unitPlus));
    all5.insert(all5.end(), unit5.begin(), unit5.end());
    allPlus.insert(allPlus.end(), unitPlus.begin(), unitPlus.end());
  }
  writeSeed("vexa5_receive_fuzz", "installation", behind(vexa5Head, all5));
  writeSeed("plus_receive_fuzz", "installation", behind({2}, allPlus));
  return true;
}

// setting_file_fuzz reads a plain setting file; item_file_fuzz a plain item
// file behind a first byte with bit 0 clear, a conversion table behind one
// with bit 0 set (bit 1: check mode).
void writeSettingAndTableFiles(const fs::path& testdata) {
  for (const char* set : {"", "broken"}) {
    fs::path folder = testdata / set;
    writeSeed("setting_file_fuzz", std::string("vexa5.set") + (*set ? "-broken" : ""), textFile(folder / "vexa5.set"));
    for (const fs::directory_entry& file : fs::directory_iterator(folder / "table")) {
      bool table = file.path().extension() == ".ktb";
      std::string name = file.path().filename().string() + (*set ? "-broken" : "");
      Bytes text = textFile(file.path());
      writeSeed("item_file_fuzz", name, behind({static_cast<uint8_t>(table ? 1 : 0)}, text));
      writeSeed("item_file_fuzz", name + "-checked", behind({static_cast<uint8_t>(table ? 3 : 2)}, text));
    }
  }
}

// conversion_fuzz reads a data type, a block length, the block and the
// program: every item of the sample set, its operands renamed to the one
// block "d" of 64 pattern bytes. The sample set is loaded by the library
// from a scrambled copy in `work`.
bool writeConversionPrograms(const fs::path& testdata, const fs::path& work) {
  fs::create_directories(work / "table");
  auto scrambled = [&](const fs::path& from, const fs::path& to) {
    Bytes bytes = textFile(from);
    for (uint8_t& byte : bytes) byte = tramsoll::scrambleByte(byte);
    std::ofstream(to, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  };
  scrambled(testdata / "vexa5.set", work / "vexa5.set");
  for (const fs::directory_entry& file : fs::directory_iterator(testdata / "table"))
    scrambled(file.path(), work / "table" / file.path().filename());
  fs::path previous = fs::current_path();
  fs::current_path(work);
  int32_t loaded = initTramsoll();
  fs::current_path(previous);
  if (loaded != 0) {
    std::fprintf(stderr, "fuzz-seeds: the sample set does not load\n");
    return false;
  }
  const std::regex operand("[A-Za-z0-9_]+\\[");
  Bytes block(64);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i * 37 + 11);
  int seeds = 0;
  for (int32_t model = 0; model < tramsoll::kishuCount(); ++model) {
    tramsoll::UnitGroup group;
    for (int32_t g = 0; tramsoll::getKishuSub(model, g, group); ++g) {
      tramsoll::ItemRecord item;
      for (int32_t i = 0; tramsoll::getItem(model, group.unitType, group.groupNumber, i, item); ++i) {
        std::string program(item.program, strnlen(item.program, sizeof item.program));
        program = std::regex_replace(program, operand, "d[");
        Bytes seed{static_cast<uint8_t>(tramsoll::itemDataType(item)), static_cast<uint8_t>(block.size())};
        seed = behind(behind(seed, block), Bytes(program.begin(), program.end()));
        writeSeed("conversion_fuzz", "item-" + std::to_string(++seeds), seed);
      }
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fuzz-seeds TESTDATA-FOLDER OUTPUT-FOLDER\n");
    return 2;
  }
  fs::path testdata = fs::absolute(argv[1]);
  output = fs::absolute(argv[2]);
  char pattern[] = "/tmp/fuzz-seeds-XXXXXX";
  if (!::mkdtemp(pattern)) return 1;
  fs::path work = pattern;
  bool written = writeRecordings(work) && writeAdapterStreams(testdata);
  if (written) writeSettingAndTableFiles(testdata);
  written = written && writeConversionPrograms(testdata, work);
  fs::remove_all(work);
  return written ? 0 : 1;
}
