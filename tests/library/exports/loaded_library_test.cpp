// The program loads libtramsoll.so by file name and binds each export by
// name; these tests go the same way, so a missing or renamed export, or one
// that only works when linked statically, shows here.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "library/support/program_folder.h"

namespace {

class LoadedLibrary {
 public:
  LoadedLibrary() : handle_(dlopen(PELOMAR_BIN_DIR "/libtramsoll.so", RTLD_NOW | RTLD_LOCAL)) {}
  ~LoadedLibrary() {
    if (handle_) dlclose(handle_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  template <typename Function>
  Function bind(const char* name) const {
    return reinterpret_cast<Function>(dlsym(handle_, name));
  }

 private:
  void* handle_;
};

using InitFn = int32_t (*)();
using VersionFn = int32_t (*)(char*, int32_t*, char*, int32_t*, char*, int32_t*, char*, int32_t*);
using ExecFn = int32_t (*)(int32_t*, int32_t*);
using MessageFn = int32_t (*)(char*, int32_t*);

TEST(LoadedLibrary, EveryBuiltExportIsBoundByItsPlainName) {
  LoadedLibrary library;
  ASSERT_TRUE(library.loaded()) << dlerror();
  for (const char* name : {"execTramsoll", "getDebugMessage", "initTramsoll", "checkKishuTbl", "getSetFileVer",
                           "setTmpUnit", "setCentralOperation", "getControlDataChangeMode", "getRAMKishuNum",
                           "getRAMKishuName", "getKishuKouho", "ReadINIfile", "WriteINIfile", "getQ7ScAdrInfo",
                           "getQ7ScAdrStatus", "setQ7ScAdrCommand", "getAirconReceiveState", "setAirconSendData"}) {
    EXPECT_NE(library.bind<void*>(name), nullptr) << name;
  }
  // Internal names stay inside the library.
  EXPECT_EQ(library.bind<void*>("_ZN8tramsoll15loadSettingFileEv"), nullptr);
}

TEST(LoadedLibrary, StartsUpInTheProgramFolder) {
  LoadedLibrary library;
  ASSERT_TRUE(library.loaded()) << dlerror();
  auto initTramsoll = library.bind<InitFn>("initTramsoll");
  auto getSetFileVer = library.bind<VersionFn>("getSetFileVer");
  auto execTramsoll = library.bind<ExecFn>("execTramsoll");
  auto getDebugMessage = library.bind<MessageFn>("getDebugMessage");
  ASSERT_TRUE(initTramsoll && getSetFileVer && execTramsoll && getDebugMessage);

  // An empty folder: the load fails and says why.
  testsupport::ProgramFolder empty;
  EXPECT_EQ(initTramsoll(), 1);
  char message[80];
  int32_t length = -1;
  EXPECT_EQ(getDebugMessage(message, &length), 1);
  EXPECT_STREQ(message, "KtbError: can't open \"vexa5.set\" file!!");
  EXPECT_EQ(length, static_cast<int32_t>(std::strlen(message)));
  EXPECT_EQ(getDebugMessage(message, &length), 0);
  EXPECT_EQ(length, 0);

  // The program folder of the build holds the scrambled sample files.
  std::filesystem::current_path(PELOMAR_BIN_DIR);
  EXPECT_EQ(initTramsoll(), 0);
  char text[4][32];
  int32_t lengths[4];
  EXPECT_EQ(getSetFileVer(text[0], &lengths[0], text[1], &lengths[1], text[2], &lengths[2], text[3], &lengths[3]), 0);
  EXPECT_STREQ(text[0], "3.12");
  EXPECT_STREQ(text[1], "2024/05/17");
  EXPECT_STREQ(text[2], "1.53A");
  EXPECT_STREQ(text[3], "2015/02/25");
  EXPECT_EQ(lengths[1], 10);

  int32_t saving = -1, trigger = -1;
  EXPECT_EQ(execTramsoll(&saving, &trigger), 1);  // not gathering
  EXPECT_EQ(saving, 0);
  EXPECT_EQ(trigger, 0);
  EXPECT_EQ(getDebugMessage(message, &length), 0);
}

}  // namespace
