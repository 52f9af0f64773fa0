// The Tramsoll library loaded from its file at run time. Each export is
// looked up by name on its first call and kept; the file is opened on the
// first call of any export and stays loaded for the life of the process
// (its worker thread may still be running when the program ends).
#pragma once

#include "frame/library/tramsoll_api.h"

#include <QString>

#include <functional>
#include <string>
#include <unordered_map>

class TramsollLibrary final : public TramsollApi {
 public:
  // What an export answers when the file or the export is missing.
  static constexpr int32_t kExportMissing = -1;

  // Told once, with a message for the engineer, when the file cannot be
  // loaded or lacks an export. The program's handler shows the message and
  // ends the program; afterwards every call answers kExportMissing.
  using FailureHandler = std::function<void(const QString& message)>;

  explicit TramsollLibrary(QString filePath, FailureHandler onFailure = endProgramWithMessage);

  static void endProgramWithMessage(const QString& message);

#define PELOMAR_OVERRIDE_EXPORT(name, params, args) int32_t name params override;
  TRAMSOLL_EXPORTS(PELOMAR_OVERRIDE_EXPORT)
#undef PELOMAR_OVERRIDE_EXPORT

 private:
  template <class Fn>
  Fn bind(const char* name);
  void* resolve(const char* name);
  void fail(const QString& message);

  QString filePath_;
  FailureHandler onFailure_;
  void* handle_ = nullptr;
  bool failed_ = false;
  std::unordered_map<std::string, void*> bound_;
};
