// The office the Calc host tests talk to: the one run_with_office.py started for them.
#pragma once

#include <memory>

#include "calc/calc_host.h"
#include "calc/office_connection.h"

namespace tezlo {

// A host on that office, with one new hidden workbook of `sheets` sheets. Fails the test
// program when no office was started for it.
std::unique_ptr<CalcHost> NewCalcHost(int32_t sheets = 3);

// The connection to that office.
const OfficeConnection& TestOffice();

}  // namespace tezlo
