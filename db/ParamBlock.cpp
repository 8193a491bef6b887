// Connect and transaction parameter blocks. A name's position in the client
// API's table is its code, so the tables below follow ibase.h's numbering.
#include "db/ParamBlock.h"

#include <array>
#include <charconv>
#include <string_view>

#include "db/Client.h"
#include "db/IB.h"
#include "text/Trim.h"

namespace ib {
namespace {

constexpr std::array<const char*, 91> kDatabaseParamNames = {"",
                                                             "cdd_pathname",
                                                             "allocation",
                                                             "journal",
                                                             "page_size",
                                                             "num_buffers",
                                                             "buffer_length",
                                                             "debug",
                                                             "garbage_collect",
                                                             "verify",
                                                             "sweep",
                                                             "enable_journal",
                                                             "disable_journal",
                                                             "dbkey_scope",
                                                             "number_of_users",
                                                             "trace",
                                                             "no_garbage_collect",
                                                             "damaged",
                                                             "license",
                                                             "sys_user_name",
                                                             "encrypt_key",
                                                             "activate_shadow",
                                                             "sweep_interval",
                                                             "delete_shadow",
                                                             "force_write",
                                                             "begin_log",
                                                             "quit_log",
                                                             "no_reserve",
                                                             "user_name",
                                                             "password",
                                                             "password_enc",
                                                             "sys_user_name_enc",
                                                             "interp",
                                                             "online_dump",
                                                             "old_file_size",
                                                             "old_num_files",
                                                             "old_file",
                                                             "old_start_page",
                                                             "old_start_seqno",
                                                             "old_start_file",
                                                             "drop_walfile",
                                                             "old_dump_id",
                                                             "wal_backup_dir",
                                                             "wal_chkptlen",
                                                             "wal_numbufs",
                                                             "wal_bufsize",
                                                             "wal_grp_cmt_wait",
                                                             "lc_messages",
                                                             "lc_ctype",
                                                             "cache_manager",
                                                             "shutdown",
                                                             "online",
                                                             "shutdown_delay",
                                                             "reserved",
                                                             "overwrite",
                                                             "sec_attach",
                                                             "disable_wal",
                                                             "connect_timeout",
                                                             "dummy_packet_interval",
                                                             "gbak_attach",
                                                             "sql_role_name",
                                                             "set_page_buffers",
                                                             "working_directory",
                                                             "sql_dialect",
                                                             "set_db_readonly",
                                                             "set_db_sql_dialect",
                                                             "gfix_attach",
                                                             "gstat_attach",
                                                             "set_db_charset",
                                                             "gsec_attach",
                                                             "address_path",
                                                             "process_id",
                                                             "no_db_triggers",
                                                             "trusted_auth",
                                                             "process_name",
                                                             "trusted_role",
                                                             "org_filename",
                                                             "utf8_filename",
                                                             "ext_call_depth",
                                                             "auth_block",
                                                             "client_version",
                                                             "remote_protocol",
                                                             "host_name",
                                                             "os_user",
                                                             "specific_auth_data",
                                                             "auth_plugin_list",
                                                             "auth_plugin_name",
                                                             "config",
                                                             "nolinger",
                                                             "reset_icu",
                                                             "map_attach"};

// Parameters whose value travels as text; every other one carries an integer.
constexpr std::array<int, 21> kTextParams = {
    isc_dpb_cdd_pathname,   isc_dpb_license,           isc_dpb_sys_user_name,
    isc_dpb_encrypt_key,    isc_dpb_user_name,         isc_dpb_password,
    isc_dpb_password_enc,   isc_dpb_sys_user_name_enc, isc_dpb_old_file,
    isc_dpb_wal_backup_dir, isc_dpb_lc_messages,       isc_dpb_lc_ctype,
    isc_dpb_sql_role_name,  isc_dpb_working_directory, isc_dpb_process_name,
    isc_dpb_trusted_role,   isc_dpb_org_filename,      isc_dpb_utf8_filename,
    isc_dpb_host_name,      isc_dpb_os_user,           isc_dpb_config};

constexpr std::array<const char*, 22> kTransactionParamNames = {"",
                                                                "consistency",
                                                                "concurrency",
                                                                "shared",
                                                                "protected",
                                                                "exclusive",
                                                                "wait",
                                                                "nowait",
                                                                "read",
                                                                "write",
                                                                "lock_read",
                                                                "lock_write",
                                                                "verb_time",
                                                                "commit_time",
                                                                "ignore_limbo",
                                                                "read_committed",
                                                                "autocommit",
                                                                "rec_version",
                                                                "no_rec_version",
                                                                "restart_requests",
                                                                "no_auto_undo",
                                                                "lock_timeout"};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

template <size_t N>
int CodeOf(const std::array<const char*, N>& names, const std::string& name) {
  for (size_t i = 1; i < N; ++i)
    if (name == names[i]) return static_cast<int>(i);
  return -1;
}

[[noreturn]] void UnknownName(const std::string& kind, const std::string& name) {
  throw EIBClientError(ibxeUnknownError, kind + " Constant (" + name + ") is unknown");
}

void AddText(std::vector<char>& block, int code, const std::string& value) {
  // The length travels in one byte; a longer value cannot be expressed.
  if (value.size() > 255) IBError(ibxeNotSupported);
  block.push_back(static_cast<char>(code));
  block.push_back(static_cast<char>(value.size()));
  block.insert(block.end(), value.begin(), value.end());
}

void AddInteger(std::vector<char>& block, int code, const std::string& value) {
  long v = 0;
  std::string trimmed = text::Trim(value);
  auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), v);
  if (!trimmed.empty() && (error != std::errc() || end != trimmed.data() + trimmed.size()))
    IBError(ibxeInvalidDataConversion);
  block.push_back(static_cast<char>(code));
  block.push_back(4);
  for (int i = 0; i < 4; ++i) block.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

struct NameValue {
  std::string name;
  std::string value;
  bool hasValue = false;
};

NameValue Split(const std::string& line, std::string_view prefix) {
  NameValue nv;
  size_t eq = line.find('=');
  nv.name = Lower(text::Trim(line.substr(0, eq)));
  if (nv.name.rfind(prefix, 0) == 0) nv.name.erase(0, prefix.size());
  if (eq != std::string::npos) {
    nv.value = line.substr(eq + 1);
    nv.hasValue = true;
  }
  return nv;
}

}  // namespace

std::vector<char> BuildDatabaseParamBlock(const std::vector<std::string>& lines) {
  std::vector<char> block{static_cast<char>(isc_dpb_version1)};
  for (const std::string& line : lines) {
    NameValue nv = Split(line, "isc_dpb_");
    if (nv.name.empty()) continue;
    int code = CodeOf(kDatabaseParamNames, nv.name);
    if (code < 0) UnknownName("DPB", nv.name);
    bool isText = false;
    for (int t : kTextParams) isText = isText || t == code;
    if (isText)
      AddText(block, code, nv.value);
    else
      AddInteger(block, code, nv.value);
  }
  return block;
}

std::vector<char> BuildTransactionParamBlock(const std::vector<std::string>& lines) {
  std::vector<char> block;
  if (lines.empty()) return block;
  block.push_back(static_cast<char>(isc_tpb_version3));
  for (const std::string& line : lines) {
    NameValue nv = Split(line, "isc_tpb_");
    if (nv.name.empty()) continue;
    int code = CodeOf(kTransactionParamNames, nv.name);
    if (code < 0) UnknownName("TPB", nv.name);
    if (code == isc_tpb_lock_read || code == isc_tpb_lock_write)
      AddText(block, code, nv.value);  // the table to reserve
    else if (code == isc_tpb_lock_timeout)
      AddInteger(block, code, nv.value);
    else
      block.push_back(static_cast<char>(code));
  }
  return block;
}

}  // namespace ib
