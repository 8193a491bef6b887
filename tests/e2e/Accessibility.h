#pragma once
// Reads what the program's windows show through the desktop's accessibility bus
// (AT-SPI), as a screen reader would: captions, texts, enabled and checked states.
// The test starts a session bus of its own; the accessibility bus is started
// through it on demand, and the program publishes its widgets there.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/Process.h"

namespace e2e {

struct Accessible {
  std::string name;  // UTF-8
  std::string role;  // AT-SPI role name: "label", "push button", "check box", "text", ...
  uint64_t states = 0;
  std::string text;                         // contents of a text box, UTF-8
  double value = 0;                         // current value of a progress bar
  int x = 0, y = 0, width = 0, height = 0;  // a button's place on the screen
  std::vector<Accessible> children;

  bool Enabled() const { return Has(8); }  // ATSPI_STATE_ENABLED
  bool Checked() const { return Has(4); }  // ATSPI_STATE_CHECKED
  bool Focused() const { return Has(12); }
  bool Has(int state) const { return (states >> state) & 1u; }

  // The first node, depth first, for which `match` holds.
  const Accessible* Find(const std::function<bool(const Accessible&)>& match) const;
  const Accessible* Find(const std::string& role, const std::string& name) const;
  // The sibling right after the node `role`/`name` (the status after its caption).
  const Accessible* After(const std::string& role, const std::string& name) const;
};

class AccessibilityBus {
 public:
  // Starts a session bus for `display`; its log goes into `logFolder`, the
  // accessibility bus's socket into `runtimeFolder`. Throws std::runtime_error.
  AccessibilityBus(const std::string& display, const std::filesystem::path& logFolder,
                   const std::filesystem::path& runtimeFolder);
  ~AccessibilityBus();
  AccessibilityBus(const AccessibilityBus&) = delete;
  AccessibilityBus& operator=(const AccessibilityBus&) = delete;

  // What a program needs to publish its widgets on this bus.
  EnvChanges Env() const;

  // The accessible tree of the running application named `name` (all its
  // windows), or nothing when no such application is registered or it does not
  // answer in time.
  std::optional<Accessible> Application(const std::string& name);

 private:
  struct Connection;
  std::unique_ptr<Child> sessionBus_;
  std::string sessionAddress_;
  std::filesystem::path runtimeFolder_;
  std::unique_ptr<Connection> a11y_;
};

}  // namespace e2e
