#include "support/fake_tramsoll.h"

namespace {

QString describe(int32_t value) { return QString::number(value); }
QString describe(float value) { return QString::number(static_cast<double>(value)); }
QString describe(const char* text) { return text ? QStringLiteral("\"%1\"").arg(QString::fromUtf8(text)) : QStringLiteral("null"); }
template <class T>
QString describe(T*) {
  return QStringLiteral("*");
}

template <class... Args>
QString describeAll(Args... args) {
  const QStringList parts{describe(args)...};
  return parts.join(QStringLiteral(", "));
}

}  // namespace

template <class... Args>
struct FakeTramsoll::Call<int32_t(Args...)> {
  FakeTramsoll& fake;
  const char* name;

  int32_t operator()(Args... args) const {
    fake.calls << QStringLiteral("%1(%2)").arg(QLatin1String(name), describeAll(args...));
    if (auto handler = fake.handlers_.find(name); handler != fake.handlers_.end()) {
      return std::any_cast<const std::function<int32_t(Args...)>&>(handler->second)(args...);
    }
    auto result = fake.results.find(name);
    return result != fake.results.end() ? result->second : 0;
  }
};

QStringList FakeTramsoll::callsOf(const QString& name) const {
  QStringList found;
  for (const QString& call : calls) {
    if (call.startsWith(name + QLatin1Char('('))) found << call;
  }
  return found;
}

#define PELOMAR_FAKE_EXPORT(name, params, args) \
  int32_t FakeTramsoll::name params { return Call<decltype(::name)>{*this, #name} args; }
TRAMSOLL_EXPORTS(PELOMAR_FAKE_EXPORT)
#undef PELOMAR_FAKE_EXPORT
