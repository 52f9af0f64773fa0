// Arbitrary bytes as a customer file <id>.dak: the reader takes the whole
// file or says why not, and a customer it takes is written back to a text
// that reads as the same customer.
#include "frame/site/customer_file.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The head numbers the program writes.
constexpr int32_t kMajor = 1;
constexpr int32_t kMinor = 50;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  CustomInfor customer;
  ReadFault fault;
  if (!readCustomerText(bytes, customer, fault)) {
    if (fault.reason.isEmpty()) std::abort();  // a refusal must say why
    return 0;
  }
  QByteArray written;
  QString error;
  if (!writeCustomerText(customer, kMajor, kMinor, written, error)) return 0;  // a tree it cannot write
  CustomInfor again;
  if (!readCustomerText(written, again, fault)) std::abort();
  QByteArray rewritten;
  if (!writeCustomerText(again, kMajor, kMinor, rewritten, error) || rewritten != written) std::abort();
  return 0;
}
