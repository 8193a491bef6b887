#include "tests/e2e/Operator.h"

#include <signal.h>

#include <fstream>
#include <stdexcept>

namespace e2e {
namespace {

constexpr auto kShowLimit = 120s;  // start-up of a program on a loaded machine

// The control with the keyboard focus: a container that passes its focus on shows
// as focused too, so the last focused node depth first is the control itself.
const Accessible* FocusedNode(const Accessible& tree) {
  const Accessible* focused = nullptr;
  tree.Find([&](const Accessible& a) {
    if (a.Focused()) focused = &a;
    return false;
  });
  return focused;
}

// Child positions from the top of the tree down to the focused control; empty
// when nothing has the focus.
std::string FocusPath(const Accessible& tree) {
  const Accessible* focused = FocusedNode(tree);
  if (!focused) return {};
  std::function<bool(const Accessible&, std::string&)> walk = [&](const Accessible& node,
                                                                  std::string& path) {
    if (&node == focused) return true;
    for (size_t i = 0; i < node.children.size(); ++i) {
      std::string deeper = path + "/" + std::to_string(i);
      if (walk(node.children[i], deeper)) {
        path = deeper;
        return true;
      }
    }
    return false;
  };
  std::string path;
  walk(tree, path);
  return path.empty() ? "/" : path;
}

void DumpNode(const Accessible& node, int depth, std::ostream& out) {
  out << std::string(depth * 2, ' ') << node.role << " \"" << node.name << "\"";
  if (!node.text.empty()) out << " text=\"" << node.text << "\"";
  if (node.role == "progress bar") out << " value=" << node.value;
  out << (node.Enabled() ? " enabled" : " disabled") << (node.Focused() ? " focused" : "")
      << (node.Checked() ? " checked" : "") << "\n";
  for (const Accessible& child : node.children) DumpNode(child, depth + 1, out);
}

// The `index`-th text box of the window (source, destination, date) has the focus.
std::function<bool(const Accessible&)> TextFocused(int index) {
  return [index](const Accessible& t) {
    int seen = 0;
    return t.Find([&](const Accessible& a) {
      return a.role == "text" && seen++ == index && a.Focused();
    }) != nullptr;
  };
}

}  // namespace

// The top-level window of the tree that holds a label containing `text`.
const Accessible* WindowWithLabel(const Accessible& tree, const std::string& text) {
  for (const Accessible& window : tree.children)
    if (window.Find([&](const Accessible& a) {
          return a.role == "label" && a.name.find(text) != std::string::npos;
        }))
      return &window;
  return nullptr;
}

std::vector<std::string> Labels(const Accessible& window) {
  std::vector<std::string> labels;
  window.Find([&](const Accessible& a) {
    if (a.role == "label" && !a.name.empty()) labels.push_back(a.name);
    return false;
  });
  return labels;
}

void Dump(const Accessible& tree, const std::filesystem::path& file) {
  std::ofstream out(file);
  DumpNode(tree, 0, out);
}

Operator::Operator(const std::filesystem::path& outputFolder) : output_(outputFolder) {
  std::filesystem::create_directories(output_);
  desktop_ = std::make_unique<Desktop>(output_);
  bus_ = std::make_unique<AccessibilityBus>(desktop_->Display(), output_, runtime_.path());
}

Operator::~Operator() {
  // The program first, then the bus and the display it talks to.
  program_.reset();
  bus_.reset();
  desktop_.reset();
}

void Operator::Launch(const std::filesystem::path& exe) {
  EnvChanges env = bus_->Env();
  env.push_back({"DISPLAY", desktop_->Display()});
  // A real window, and the Russian regional settings of the program's operators.
  env.push_back({"QT_QPA_PLATFORM", "xcb"});
  env.push_back({"LANG", "ru_RU.UTF-8"});
  env.push_back({"LC_ALL", std::nullopt});
  program_ =
      std::make_unique<Child>(std::vector<std::string>{exe.string()}, env, output_ / "program.log");
  const std::string window = desktop_->WaitWindow(kAppTitle, {}, kShowLimit);
  if (window.empty()) throw std::runtime_error("the program's window did not appear");
  mainGeometry_ = desktop_->Geometry(window);
  if (!WaitTree([](const Accessible& t) { return t.Find("label", kStatusCaption) != nullptr; },
                kShowLimit))
    throw std::runtime_error("the program's window cannot be read on the accessibility bus");
}

Accessible Operator::Tree() {
  std::optional<Accessible> tree;
  WaitUntil(
      [&] {
        tree = bus_->Application(kAppTitle);
        return tree.has_value();
      },
      60s, 500ms);
  if (!tree) throw std::runtime_error("the program's accessible tree cannot be read");
  return *tree;
}

std::optional<Accessible> Operator::WaitTree(const std::function<bool(const Accessible&)>& done,
                                             std::chrono::milliseconds limit) {
  std::optional<Accessible> last;
  const bool met = WaitUntil(
      [&] {
        last = bus_->Application(kAppTitle);
        return last && done(*last);
      },
      limit, 300ms);
  if (!met) {
    if (last) Dump(*last, output_ / "tree-at-timeout.txt");
    return std::nullopt;
  }
  return last;
}

std::string Operator::MainWindow() {
  for (const std::string& id : desktop_->Windows(kAppTitle))
    if (desktop_->Geometry(id) == mainGeometry_) return id;
  return {};
}

bool Operator::TabTo(const std::string& role, const std::string& name, int maxTabs) {
  return TabUntil(
      [&](const Accessible& tree) {
        const Accessible* focused = FocusedNode(tree);
        return focused->role == role && (name.empty() || focused->name == name);
      },
      maxTabs, role);
}

bool Operator::TabToText(int index, int maxTabs) {
  return TabUntil(TextFocused(index), maxTabs, "text");
}

bool Operator::TabUntil(const std::function<bool(const Accessible&)>& reached, int maxTabs,
                        const std::string& what) {
  std::string before;
  for (int tabs = 0;; ++tabs) {
    // A key moves the focus only once the program has handled it: wait for the
    // focus to leave the control it was on.
    const std::optional<Accessible> tree = WaitTree(
        [&](const Accessible& t) {
          const std::string path = FocusPath(t);
          return !path.empty() && path != before;
        },
        30s);
    if (!tree) return false;
    if (reached(*tree)) return true;
    if (tabs == maxTabs) {
      Dump(*tree, output_ / ("tree-tab-to-" + what + ".txt"));
      return false;
    }
    before = FocusPath(*tree);
    desktop_->Keys({"Tab"});
  }
}

void Operator::TypePaths(const std::string& source, const std::string& dest) {
  desktop_->Focus(MainWindow());
  // The source box has the focus when the window opens.
  if (!WaitTree(TextFocused(0), 30s)) throw std::runtime_error("the source box has no focus");
  desktop_->Type(source);
  desktop_->Keys({"Tab", "Tab"});
  if (!WaitTree(TextFocused(1), 30s))
    throw std::runtime_error("two tabs from the source box do not reach the destination box");
  desktop_->Type(dest);
}

void Operator::FillForm(const FormInput& input) {
  TypePaths(input.source, input.dest);
  if (!TabTo("check box", kEventsBox, 4)) throw std::runtime_error("the events box is unreachable");
  if (input.events) desktop_->Keys({"space"});
  desktop_->Keys({"Tab"});
  if (!WaitTree(TextFocused(2), 30s))
    throw std::runtime_error("a tab from the events box does not reach the date box");
  if (!input.eventsFrom.empty()) desktop_->Type(input.eventsFrom);
  if (!TabTo("check box", kKeepLocationsBox, 2))
    throw std::runtime_error("the keep-locations box is unreachable");
  if (input.keepLocations) desktop_->Keys({"space"});
  if (!TabTo("push button", kStartButton, 2))
    throw std::runtime_error("the start button is unreachable by the keyboard");
}

void Operator::PressSpace() {
  desktop_->Keys({"space"});
}

std::vector<std::string> Operator::AnswerBox(const std::string& title, const std::string& text,
                                             const std::string& button,
                                             std::chrono::milliseconds limit,
                                             const std::filesystem::path& screenshot) {
  const std::optional<Accessible> tree =
      WaitTree([&](const Accessible& t) { return WindowWithLabel(t, text) != nullptr; }, limit);
  if (!tree) throw std::runtime_error("no box saying \"" + text + "\" appeared");
  const std::vector<std::string> labels = Labels(*WindowWithLabel(*tree, text));

  // The box is the window of that title that is not the main window's size.
  std::string box;
  WaitUntil(
      [&] {
        for (const std::string& id : desktop_->Windows(title))
          if (desktop_->Geometry(id) != mainGeometry_) box = id;
        return !box.empty();
      },
      30s, 300ms);
  if (box.empty()) throw std::runtime_error("no window titled \"" + title + "\" holds the box");
  desktop_->Focus(box);
  if (!TabTo("push button", button, 6))
    throw std::runtime_error("the box's button \"" + button + "\" cannot be reached by Tab");
  if (!screenshot.empty()) desktop_->Screenshot(screenshot);
  PressSpace();
  // A box that ends the program closes with it.
  const bool closed = WaitUntil(
      [&] {
        if (!Running()) return true;
        const std::optional<Accessible> now = bus_->Application(kAppTitle);
        return now && WindowWithLabel(*now, text) == nullptr;
      },
      60s, 300ms);
  if (!closed) throw std::runtime_error("the box saying \"" + text + "\" did not close");
  return labels;
}

int Operator::Close() {
  if (!program_) throw std::runtime_error("no program to close");
  program_->Signal(SIGTERM);
  AnswerBox(kAppTitle, "Wm_Close", "", 60s);
  const std::optional<int> code = program_->Wait(60s);
  if (!code) throw std::runtime_error("the program did not end after its window was closed");
  return *code;
}

}  // namespace e2e
