#include "tests/e2e/Accessibility.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QList>
#include <atomic>
#include <stdexcept>

namespace e2e {
namespace {

constexpr int kCallTimeoutMs = 30000;
const QString kAccessible = QStringLiteral("org.a11y.atspi.Accessible");

struct Reference {
  QString service;
  QString path;
};

// A call that failed or timed out: the tree is not readable right now.
struct Unanswered : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string ReadLine(int fd, std::chrono::milliseconds limit) {
  std::string line;
  const auto end = Clock::now() + limit;
  while (Clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 200) <= 0) continue;
    char c = 0;
    if (::read(fd, &c, 1) <= 0) break;
    if (c == '\n') return line;
    line += c;
  }
  return {};
}

QString UniqueName(const char* what) {
  static std::atomic<int> counter{0};
  return QStringLiteral("e2e-%1-%2").arg(QLatin1String(what)).arg(++counter);
}

QDBusMessage Call(QDBusConnection& bus, const Reference& at, const QString& interface,
                  const QString& method, const QList<QVariant>& args = {}) {
  QDBusMessage message = QDBusMessage::createMethodCall(at.service, at.path, interface, method);
  message.setArguments(args);
  QDBusMessage reply = bus.call(message, QDBus::Block, kCallTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
    throw Unanswered((method + QLatin1String(": ") + reply.errorMessage()).toStdString());
  return reply;
}

QVariant Property(QDBusConnection& bus, const Reference& at, const QString& interface,
                  const QString& name) {
  const QDBusMessage reply = Call(bus, at, QStringLiteral("org.freedesktop.DBus.Properties"),
                                  QStringLiteral("Get"), {interface, name});
  return reply.arguments().at(0).value<QDBusVariant>().variant();
}

std::vector<Reference> Children(QDBusConnection& bus, const Reference& at) {
  const QDBusMessage reply = Call(bus, at, kAccessible, QStringLiteral("GetChildren"));
  const QDBusArgument list = reply.arguments().at(0).value<QDBusArgument>();
  std::vector<Reference> children;
  list.beginArray();
  while (!list.atEnd()) {
    Reference child;
    QDBusObjectPath path;
    list.beginStructure();
    list >> child.service >> path;
    list.endStructure();
    child.path = path.path();
    children.push_back(child);
  }
  list.endArray();
  return children;
}

Accessible Read(QDBusConnection& bus, const Reference& at, int depth) {
  if (depth > 40) throw Unanswered("accessible tree too deep");
  Accessible node;
  node.name = Property(bus, at, kAccessible, QStringLiteral("Name")).toString().toStdString();
  node.role = Call(bus, at, kAccessible, QStringLiteral("GetRoleName"))
                  .arguments()
                  .at(0)
                  .toString()
                  .toStdString();
  const QList<uint> words = qdbus_cast<QList<uint>>(
      Call(bus, at, kAccessible, QStringLiteral("GetState")).arguments().at(0));
  for (int i = 0; i < words.size() && i < 2; ++i)
    node.states |= static_cast<uint64_t>(words[i]) << (32 * i);
  if (node.role == "progress bar")
    node.value =
        Property(bus, at, QStringLiteral("org.a11y.atspi.Value"), QStringLiteral("CurrentValue"))
            .toDouble();
  if (node.role == "push button") {
    // Screen coordinates (ATSPI_COORD_TYPE_SCREEN).
    const QDBusArgument box = Call(bus, at, QStringLiteral("org.a11y.atspi.Component"),
                                   QStringLiteral("GetExtents"), {QVariant::fromValue(0u)})
                                  .arguments()
                                  .at(0)
                                  .value<QDBusArgument>();
    box.beginStructure();
    box >> node.x >> node.y >> node.width >> node.height;
    box.endStructure();
  }
  if (node.role == "text")
    node.text =
        Call(bus, at, QStringLiteral("org.a11y.atspi.Text"), QStringLiteral("GetText"), {0, -1})
            .arguments()
            .at(0)
            .toString()
            .toStdString();
  for (const Reference& child : Children(bus, at))
    node.children.push_back(Read(bus, child, depth + 1));
  return node;
}

}  // namespace

const Accessible* Accessible::Find(const std::function<bool(const Accessible&)>& match) const {
  if (match(*this)) return this;
  for (const Accessible& child : children)
    if (const Accessible* found = child.Find(match)) return found;
  return nullptr;
}

const Accessible* Accessible::Find(const std::string& role_, const std::string& name_) const {
  return Find([&](const Accessible& a) { return a.role == role_ && a.name == name_; });
}

const Accessible* Accessible::After(const std::string& role_, const std::string& name_) const {
  for (size_t i = 0; i + 1 < children.size(); ++i)
    if (children[i].role == role_ && children[i].name == name_) return &children[i + 1];
  for (const Accessible& child : children)
    if (const Accessible* found = child.After(role_, name_)) return found;
  return nullptr;
}

struct AccessibilityBus::Connection {
  QString sessionName, a11yName;
  QDBusConnection a11y{QString()};
};

AccessibilityBus::AccessibilityBus(const std::string& display,
                                   const std::filesystem::path& logFolder,
                                   const std::filesystem::path& runtimeFolder)
    : runtimeFolder_(runtimeFolder), a11y_(std::make_unique<Connection>()) {
  std::filesystem::create_directories(runtimeFolder_);
  ::chmod(runtimeFolder_.c_str(), 0700);
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
  try {
    sessionBus_ = std::make_unique<Child>(
        std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--print-address=3"},
        EnvChanges{{"DISPLAY", display}, {"XDG_RUNTIME_DIR", runtimeFolder_.string()}},
        logFolder / "session-bus.log", fds[1]);
  } catch (...) {
    ::close(fds[0]);
    ::close(fds[1]);
    throw;
  }
  ::close(fds[1]);
  sessionAddress_ = ReadLine(fds[0], 60s);
  ::close(fds[0]);
  if (sessionAddress_.empty()) throw std::runtime_error("the session bus gave no address");

  a11y_->sessionName = UniqueName("session");
  QDBusConnection session =
      QDBusConnection::connectToBus(QString::fromStdString(sessionAddress_), a11y_->sessionName);
  if (!session.isConnected()) throw std::runtime_error("cannot connect to the session bus");
  // Asking for the address starts the accessibility bus (and its registry).
  const QDBusMessage reply =
      Call(session, {QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus")},
           QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
  const QString address = reply.arguments().at(0).toString();
  a11y_->a11yName = UniqueName("a11y");
  a11y_->a11y = QDBusConnection::connectToBus(address, a11y_->a11yName);
  if (!a11y_->a11y.isConnected()) throw std::runtime_error("cannot connect to the a11y bus");
}

AccessibilityBus::~AccessibilityBus() {
  QDBusConnection::disconnectFromBus(a11y_->a11yName);
  QDBusConnection::disconnectFromBus(a11y_->sessionName);
  sessionBus_.reset();
}

EnvChanges AccessibilityBus::Env() const {
  return {{"DBUS_SESSION_BUS_ADDRESS", sessionAddress_},
          {"XDG_RUNTIME_DIR", runtimeFolder_.string()},
          // Qt publishes its widgets only when asked to or when a screen reader runs.
          {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1"}};
}

std::optional<Accessible> AccessibilityBus::Application(const std::string& name) {
  try {
    const Reference registry{QStringLiteral("org.a11y.atspi.Registry"),
                             QStringLiteral("/org/a11y/atspi/accessible/root")};
    for (const Reference& app : Children(a11y_->a11y, registry)) {
      if (Property(a11y_->a11y, app, kAccessible, QStringLiteral("Name")).toString() !=
          QString::fromStdString(name))
        continue;
      return Read(a11y_->a11y, app, 0);
    }
  } catch (const Unanswered&) {
  }
  return std::nullopt;
}

}  // namespace e2e
