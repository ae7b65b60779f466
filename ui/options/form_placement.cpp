#include "ui/options/form_placement.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

#include "model/command_error.h"
#include "ui/command_guard.h"
#include "ui/options/placement_rule.h"
#include "ui/options/settings_store.h"

namespace velko {

namespace {

// Show states and flags as the stored placement writes them.
constexpr std::int32_t kShowNormal = 1;
constexpr std::int32_t kShowMinimized = 2;
constexpr std::int32_t kShowMaximized = 3;
constexpr std::int32_t kRestoreToMaximized = 2;

}  // namespace

FormPlacement::FormPlacement(QWidget* window, SettingsStore& store, QString section)
    : window_(window), store_(store), section_(std::move(section)),
      reporter_([window](const QString& message) { showError(window, message); }) {
  // Windows stay alive until the program ends, and not every start-up code destroys them:
  // the end of the event loop is the reliable moment for the last save.
  if (QCoreApplication* app = QCoreApplication::instance())
    quitConnection_ = QObject::connect(app, &QCoreApplication::aboutToQuit, window,
                                       [this] { saveAtEnd(); });
}

FormPlacement::~FormPlacement() {
  QObject::disconnect(quitConnection_);
  // The window is half torn down here: an error box over it could reach destroyed
  // members, so a failure of this last chance goes unreported.
  reporter_ = nullptr;
  saveAtEnd();
}

void FormPlacement::report(const char* message) noexcept {
  try {
    if (reporter_) reporter_(QString::fromUtf8(message));
  } catch (...) {
    // A failing error box must not take the window down with it.
  }
}

void FormPlacement::restore() {
  restored_ = true;
  saved_ = false;
  try {
    store_.checkReadable();
    restorePlacement();
    for (const StoredText& stored : storedTexts_)
      if (const auto text = store_.readText(section_, stored.entry)) stored.box->setText(*text);
    if (restoredHandler_) restoredHandler_();
  } catch (const CommandError& error) {
    report(error.what());
  }
}

void FormPlacement::restorePlacement() {
  // Every entry is read before any is applied, so a damaged one changes nothing.
  const auto normPos = store_.readFour(section_, QStringLiteral("NormPos"));
  const auto showCmd = store_.readInteger(section_, QStringLiteral("ShowCmd"));
  const auto flags = store_.readInteger(section_, QStringLiteral("Flags"));

  Qt::WindowStates state = window_->windowState();
  if (normPos) {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
    const bool sizeable = window_->minimumSize() != window_->maximumSize();
    const std::optional<QRect> rect = restoredRectangle(*normPos, sizeable, window_->size(), areas);
    // A placement off every screen is no placement at all, its state included.
    if (!rect) return;
    // The normal rectangle is set in the normal state, or it would be taken as the
    // maximised one.
    window_->setWindowState(state & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    window_->setGeometry(*rect);
  }
  if (showCmd) {
    state &= ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (*showCmd == kShowMinimized) {
      state |= Qt::WindowMinimized;
      if (flags && (*flags & kRestoreToMaximized)) state |= Qt::WindowMaximized;
    } else if (*showCmd == kShowMaximized) {
      state |= Qt::WindowMaximized;
    }
  }
  window_->setWindowState(state);
}

void FormPlacement::writeAll(bool visible) {
  const Qt::WindowStates state = window_->windowState();
  QRect normal = window_->normalGeometry();
  if (!normal.isValid()) normal = window_->geometry();

  std::int32_t showCmd = kShowNormal;
  if (state & Qt::WindowMinimized)
    showCmd = kShowMinimized;
  else if (state & Qt::WindowMaximized)
    showCmd = kShowMaximized;
  const bool backToMaximized =
      (state & Qt::WindowMinimized) && (state & Qt::WindowMaximized);

  store_.writeInteger(section_, QStringLiteral("Flags"), backToMaximized ? kRestoreToMaximized : 0);
  store_.writeInteger(section_, QStringLiteral("ShowCmd"), showCmd);
  // The windowing system places minimised and maximised windows itself: "no position".
  store_.writeFour(section_, QStringLiteral("MinMaxPos"), {-1, -1, -1, -1});
  store_.writeFour(section_, QStringLiteral("NormPos"), storedRectangle(normal));
  store_.writeYesNo(section_, QStringLiteral("Visible"), visible);
  for (const StoredText& stored : storedTexts_)
    store_.writeText(section_, stored.entry, stored.box->text());
  saved_ = true;
  store_.commit();
}

void FormPlacement::save() {
  try {
    writeAll(false);
  } catch (const CommandError& error) {
    report(error.what());
  }
}

void FormPlacement::saveAtEnd() {
  if (!restored_ || saved_) return;
  try {
    writeAll(true);
  } catch (const CommandError& error) {
    report(error.what());
  }
}

void FormStorage::addStoredText(QLineEdit* box) {
  storedTexts_.push_back({box->objectName() + QStringLiteral("_Text"), box});
}

}  // namespace velko
