#include "office_for_tests.h"

#include <cstdio>
#include <cstdlib>

namespace tezlo {

namespace {

const OfficeConnection& Office() {
  static const OfficeConnection office = [] {
    const char* pipe = std::getenv("TEZLO_OFFICE_PIPE");
    if (pipe == nullptr) {
      std::fprintf(stderr, "TEZLO_OFFICE_PIPE is not set: run through run_with_office.py\n");
      std::exit(2);
    }
    return OfficeConnection::ToPipe(pipe, 120);
  }();
  return office;
}

}  // namespace

const OfficeConnection& TestOffice() { return Office(); }

std::unique_ptr<CalcHost> NewCalcHost(int32_t sheets) {
  CalcSettings settings;
  settings.sheetsInNewWorkbook = sheets;
  settings.hidden = true;
  auto host = std::make_unique<CalcHost>(Office(), settings);
  host->AddWorkbook();
  return host;
}

}  // namespace tezlo
