// The office's exceptions as the port's refusals: whatever LibreOffice throws while carrying out
// an operation is the HostError a spreadsheet's run-time error is.
#pragma once

#include <typeinfo>

#include <com/sun/star/uno/Exception.hpp>

#include "calc/uno_text.h"
#include "host/host_error.h"

namespace tezlo {

[[noreturn]] inline void ThrowHostError(const css::uno::Exception& e) {
  throw HostError(std::string("LibreOffice refused: ") + typeid(e).name() + " " +
                  ToUtf8(e.Message));
}

}  // namespace tezlo
