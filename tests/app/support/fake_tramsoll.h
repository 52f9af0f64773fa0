// A stand-in for the Tramsoll library that logs every call and answers as
// the test scripts it: a handler per export, else a fixed result (0 unless
// set in `results`).
#pragma once

#include "frame/library/tramsoll_api.h"
#include "tramsoll.h"

#include <QString>
#include <QStringList>

#include <any>
#include <functional>
#include <map>
#include <string>

class FakeTramsoll final : public TramsollApi {
 public:
  // Each call as "name(arguments)": numbers in decimal, texts in double
  // quotes, out pointers as "*".
  QStringList calls;
  std::map<std::string, int32_t> results;

  // Scripts an export: fake.on<decltype(::getDebugMessage)>("getDebugMessage", ...).
  template <class Signature, class Handler>
  void on(const char* name, Handler handler) {
    handlers_[name] = std::function<Signature>(std::move(handler));
  }
  // The logged calls of one export.
  QStringList callsOf(const QString& name) const;

#define PELOMAR_FAKE_EXPORT(name, params, args) int32_t name params override;
  TRAMSOLL_EXPORTS(PELOMAR_FAKE_EXPORT)
#undef PELOMAR_FAKE_EXPORT

 private:
  template <class Signature>
  struct Call;

  std::map<std::string, std::any> handlers_;
};

// Installs a fake for the life of the object.
class InstalledFake {
 public:
  InstalledFake() { installTramsollApi(&fake); }
  ~InstalledFake() { installTramsollApi(nullptr); }
  FakeTramsoll fake;
};
