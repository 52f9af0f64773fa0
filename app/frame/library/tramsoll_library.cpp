#include "frame/library/tramsoll_library.h"

#include "frame/site/paths.h"
#include "frame/texts/text_table.h"
#include "tramsoll.h"

#include <QMessageBox>

#include <dlfcn.h>

#include <cstdlib>
#include <memory>
#include <type_traits>

namespace {

// The stand-in for an export that could not be bound: same signature,
// answers kExportMissing and touches no argument.
template <class Fn>
struct MissingExport;
template <class... Args>
struct MissingExport<int32_t (*)(Args...)> {
  static int32_t call(Args...) { return TramsollLibrary::kExportMissing; }
};

TramsollApi* installedApi = nullptr;

}  // namespace

TramsollLibrary::TramsollLibrary(QString filePath, FailureHandler onFailure)
    : filePath_(std::move(filePath)), onFailure_(std::move(onFailure)) {}

void TramsollLibrary::endProgramWithMessage(const QString& message) {
  QMessageBox::critical(nullptr, tableText(19), message);
  std::exit(EXIT_FAILURE);
}

void TramsollLibrary::fail(const QString& message) {
  failed_ = true;
  if (onFailure_) onFailure_(message);
}

void* TramsollLibrary::resolve(const char* name) {
  if (failed_) return nullptr;
  if (!handle_) {
    handle_ = dlopen(filePath_.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
      const char* why = dlerror();
      fail(QStringLiteral("The library %1 cannot be loaded:\n%2")
               .arg(filePath_, QString::fromLocal8Bit(why ? why : "unknown reason")));
      return nullptr;
    }
  }
  void* symbol = dlsym(handle_, name);
  if (!symbol) {
    fail(QStringLiteral("The library %1 has no function %2.").arg(filePath_, QString::fromLatin1(name)));
  }
  return symbol;
}

template <class Fn>
Fn TramsollLibrary::bind(const char* name) {
  auto found = bound_.find(name);
  void* symbol = found != bound_.end() ? found->second : nullptr;
  if (!symbol) {
    symbol = resolve(name);
    if (!symbol) return &MissingExport<Fn>::call;
    bound_.emplace(name, symbol);
  }
  return reinterpret_cast<Fn>(symbol);
}

#define PELOMAR_BIND_EXPORT(name, params, args)                                          \
  static_assert(std::is_same_v<decltype(&::name), int32_t(*) params>,                    \
                "the facade's " #name " differs from the library's declaration");        \
  int32_t TramsollLibrary::name params { return bind<decltype(&::name)>(#name) args; }
TRAMSOLL_EXPORTS(PELOMAR_BIND_EXPORT)
#undef PELOMAR_BIND_EXPORT

TramsollApi& tramsollApi() {
  if (installedApi) return *installedApi;
  static std::unique_ptr<TramsollLibrary> library;
  if (!library) library = std::make_unique<TramsollLibrary>(programFolderFile(QStringLiteral("libtramsoll.so")));
  return *library;
}

void installTramsollApi(TramsollApi* api) { installedApi = api; }
