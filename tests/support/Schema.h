#pragma once
// Installation databases for tests, made from the scripts in schema/ with isql.
//
// Embedded Firebird lets one process at a time open a database file: isql cannot
// open a file while the test process holds a connection to it (the attempt fails
// with a lock error). Call these helpers only while the test's own connections to
// that file are closed.
#include <filesystem>
#include <string>

namespace testsupport {

enum class Variant {
  Current,  // OWNERPHOTOS, HOSTS.HS_PORT, CONTROLLERS.CT_FIRMWARE
  Older,    // photos in OWNER.OW_PHOTO, no HS_PORT, CONTROLLERS.CT_PHONE
};

// The repository's schema/ folder and the sample control files in schema/control/
// (Conv.txt, GENERATOR.txt, SQL/_Upd.sql, SQL/Upd.sql).
std::filesystem::path SchemaDir();
std::filesystem::path ControlDir();

// Creates an empty installation database (standard event descriptions included) at
// `db`, replacing a file that is already there. Throws std::runtime_error with
// isql's report when it fails. Forced writes are off (a test needs no durability).
//
// Each kind of database (layout, demo size) is built once per version of schema/
// in a cache under the system temporary folder and copied from there; set
// DRAVIK_NO_DB_CACHE=1 to build every one afresh.
void MakeDatabase(const std::filesystem::path& db, Variant variant = Variant::Current);

inline constexpr int kDemoEventsPerController = 800;

// An installation database of either variant filled with a demo site of `size`
// controllers (8 readers, 80 owners and 800 events per controller; see
// schema/fill-demo), cached like MakeDatabase. Throws std::runtime_error when it
// fails. `eventsPerController` (a multiple of 10) changes the events' share.
void MakeDemoDatabase(const std::filesystem::path& db, Variant variant, int size,
                      int eventsPerController = kDemoEventsPerController);

}  // namespace testsupport
