// Binding of the Firebird client library, loaded at run time so the program
// starts (and reports error 1) on a machine without it.
#include <dlfcn.h>
#include <langinfo.h>
#include <strings.h>

#include <atomic>
#include <clocale>
#include <cstdlib>
#include <mutex>
#include <string>

#include "db/Client.h"
#include "db/IB.h"

namespace {

std::mutex bindMutex;
std::string libraryName = "libfbclient.so.2";
std::atomic<bool> bound{false};
ib::ClientApi api{};
decltype(&::fb_shutdown) shutdownEngine = nullptr;

// The embedded engine runs threads of its own (cache writer, garbage collector,
// timers) that outlive the last detach. They are stopped while the process is
// still whole, before the static destructors and the exit-time checks of the
// runtime run over a process whose engine threads are half gone.
void ShutDownEngineAtExit() {
  if (shutdownEngine != nullptr) shutdownEngine(10000, fb_shutrsn_app_stopped);
}

// The engine turns database file names into the encoding of the process's
// character type. A C locale spells no Cyrillic folder name, so such a process
// gets the UTF-8 character type, as Qt gives it to its windows; the messages
// keep their language.
void UseUtf8CharacterType() {
  const char* codeset = nl_langinfo(CODESET);
  if (strcasecmp(codeset, "UTF-8") != 0 && strcasecmp(codeset, "UTF8") != 0)
    std::setlocale(LC_CTYPE, "C.UTF-8");
}

// The library's own answer to Ctrl-C and SIGTERM would shut every connection
// down in the middle of a statement; declining it leaves the signal to the
// program, which stops between rows.
int DeclineSignalShutdown(const int reason, const int, void*) {
  return reason == fb_shutrsn_signal ? 1 : 0;
}

template <typename F>
bool Resolve(void* library, const char* symbol, F& target) {
  target = reinterpret_cast<F>(dlsym(library, symbol));
  return target != nullptr;
}

bool Bind(void* library, ib::ClientApi& a) {
  return Resolve(library, "isc_attach_database", a.attach_database) &&
         Resolve(library, "isc_detach_database", a.detach_database) &&
         Resolve(library, "isc_database_info", a.database_info) &&
         Resolve(library, "isc_start_multiple", a.start_multiple) &&
         Resolve(library, "isc_commit_transaction", a.commit_transaction) &&
         Resolve(library, "isc_rollback_transaction", a.rollback_transaction) &&
         Resolve(library, "isc_dsql_alloc_statement2", a.dsql_alloc_statement2) &&
         Resolve(library, "isc_dsql_prepare", a.dsql_prepare) &&
         Resolve(library, "isc_dsql_sql_info", a.dsql_sql_info) &&
         Resolve(library, "isc_dsql_describe_bind", a.dsql_describe_bind) &&
         Resolve(library, "isc_dsql_describe", a.dsql_describe) &&
         Resolve(library, "isc_dsql_execute", a.dsql_execute) &&
         Resolve(library, "isc_dsql_execute2", a.dsql_execute2) &&
         Resolve(library, "isc_dsql_set_cursor_name", a.dsql_set_cursor_name) &&
         Resolve(library, "isc_dsql_fetch", a.dsql_fetch) &&
         Resolve(library, "isc_dsql_free_statement", a.dsql_free_statement) &&
         Resolve(library, "isc_open_blob2", a.open_blob2) &&
         Resolve(library, "isc_create_blob2", a.create_blob2) &&
         Resolve(library, "isc_get_segment", a.get_segment) &&
         Resolve(library, "isc_put_segment", a.put_segment) &&
         Resolve(library, "isc_blob_info", a.blob_info) &&
         Resolve(library, "isc_close_blob", a.close_blob) &&
         Resolve(library, "isc_cancel_blob", a.cancel_blob) &&
         Resolve(library, "isc_drop_database", a.drop_database) &&
         Resolve(library, "isc_service_attach", a.service_attach) &&
         Resolve(library, "isc_service_detach", a.service_detach) &&
         Resolve(library, "isc_service_start", a.service_start) &&
         Resolve(library, "isc_service_query", a.service_query) &&
         Resolve(library, "isc_sqlcode", a.sqlcode) &&
         Resolve(library, "fb_interpret", a.interpret) &&
         Resolve(library, "isc_vax_integer", a.vax_integer) &&
         Resolve(library, "isc_encode_date", a.encode_date) &&
         Resolve(library, "isc_decode_date", a.decode_date) &&
         Resolve(library, "isc_decode_sql_date", a.decode_sql_date) &&
         Resolve(library, "isc_decode_sql_time", a.decode_sql_time);
}

}  // namespace

void CheckIBLoaded() {
  if (bound.load(std::memory_order_acquire)) return;
  std::lock_guard<std::mutex> guard(bindMutex);
  if (bound.load(std::memory_order_relaxed)) return;
  UseUtf8CharacterType();
  // The library stays loaded for the life of the process: the embedded engine
  // it brings must not be unloaded under open attachments.
  void* library = dlopen(libraryName.c_str(), RTLD_NOW | RTLD_GLOBAL);
  ib::ClientApi resolved{};
  if (library == nullptr || !Bind(library, resolved)) IBError(ibxeIB60feature);
  api = resolved;
  if (shutdownEngine == nullptr) {
    // Registered after the library was loaded, so it runs before the library's
    // own exit-time destructors.
    if (Resolve(library, "fb_shutdown", shutdownEngine)) std::atexit(ShutDownEngineAtExit);
  }
  bound.store(true, std::memory_order_release);
}

void SetClientLibraryNameForTests(const std::string& fileName) {
  std::lock_guard<std::mutex> guard(bindMutex);
  libraryName = fileName;
  // The next check loads again by the new name; a library already loaded is
  // found again by the loader and gives the same entry points.
  bound.store(false, std::memory_order_release);
}

bool KeepConnectionsOnSignals() {
  CheckIBLoaded();
  void* library = dlopen(libraryName.c_str(), RTLD_NOW | RTLD_GLOBAL);
  decltype(&::fb_shutdown_callback) registerCallback = nullptr;
  if (library == nullptr || !Resolve(library, "fb_shutdown_callback", registerCallback))
    return false;
  ib::Status status;
  registerCallback(status.Vector(), DeclineSignalShutdown, fb_shut_confirmation, nullptr);
  return !status.Failed();
}

namespace ib {

const ClientApi& Api() {
  CheckIBLoaded();
  return api;
}

}  // namespace ib
