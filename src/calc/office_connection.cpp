#include "calc/office_connection.h"

#include <chrono>
#include <thread>

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include "calc/uno_text.h"
#include "host/host_error.h"

namespace tezlo {

namespace {

namespace uno = css::uno;

// The local UNO runtime, set up from the installed office's own bootstrap files (as its Python
// bridge does) so that the bridge and connector components and the type libraries are found.
uno::Reference<uno::XComponentContext> LocalContext() {
  static const uno::Reference<uno::XComponentContext> context = [] {
    rtl::Bootstrap::set("URE_BOOTSTRAP",
                        "vnd.sun.star.pathname:" TEZLO_LO_PROGRAM_DIR "/fundamentalrc");
    return cppu::defaultBootstrap_InitialComponentContext("file://" TEZLO_LO_PROGRAM_DIR "/unorc");
  }();
  return context;
}

}  // namespace

OfficeConnection OfficeConnection::ToPipe(const std::string& pipe, int seconds) {
  try {
    const uno::Reference<uno::XComponentContext> local = LocalContext();
    const uno::Reference<css::bridge::XUnoUrlResolver> resolver =
        css::bridge::UnoUrlResolver::create(local);
    const OUString url = "uno:pipe,name=" + ToOUString(pipe) + ";urp;StarOffice.ComponentContext";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    OfficeConnection connection;
    while (!connection.context_.is()) {
      try {
        connection.context_.set(resolver->resolve(url), uno::UNO_QUERY_THROW);
      } catch (const css::connection::NoConnectException&) {
        if (std::chrono::steady_clock::now() > deadline) throw;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
      }
    }
    connection.desktop_ = css::frame::Desktop::create(connection.context_);
    return connection;
  } catch (const uno::Exception& e) {
    throw HostError("LibreOffice does not answer on pipe " + pipe + ": " + ToUtf8(e.Message));
  }
}

OfficeConnection OfficeConnection::InProcess(
    const uno::Reference<uno::XComponentContext>& context) try {
  OfficeConnection connection;
  connection.context_ = context;
  connection.desktop_ = css::frame::Desktop::create(context);
  return connection;
} catch (const uno::Exception& e) {
  throw HostError("LibreOffice's desktop cannot be reached: " + ToUtf8(e.Message));
}

}  // namespace tezlo
