// The program's one way to the Tramsoll library: an interface with one
// method per export, named and typed as the export. The running program uses
// the library file beside the executable (TramsollLibrary); tests install a
// fake that logs every call.
#pragma once

#include "frame/library/library_text.h"
#include "frame/library/tramsoll_exports.h"

#include <cstdint>

class TramsollApi {
 public:
  virtual ~TramsollApi() = default;

#define PELOMAR_DECLARE_EXPORT(name, params, args) virtual int32_t name params = 0;
  TRAMSOLL_EXPORTS(PELOMAR_DECLARE_EXPORT)
#undef PELOMAR_DECLARE_EXPORT
};

// The library every window calls. On first use it is the library file
// libtramsoll.so in the program folder.
TramsollApi& tramsollApi();
// Puts another implementation in place (tests install a fake); null goes back
// to the library file. The caller keeps ownership.
void installTramsollApi(TramsollApi* api);
