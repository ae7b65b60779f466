#include "ui/options/about_box.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

#include "ui/options/credits_panel.h"
#include "velko_version.h"

namespace velko {

namespace {

constexpr int kClientWidth = 235;
constexpr int kClientHeight = 144;
constexpr int kBottomBarHeight = 27;

// A small network: four events, five works, the critical path in red.
QPixmap networkPicture() {
  QPixmap picture(56, 30);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPointF events[] = {{6, 15}, {28, 6}, {28, 24}, {50, 15}};
  const QColor plain(0x40, 0x40, 0x40);
  const QColor critical(0xc0, 0x10, 0x10);
  auto work = [&](int from, int to, const QColor& colour) {
    painter.setPen(QPen(colour, 1.5));
    painter.drawLine(events[from], events[to]);
  };
  work(0, 2, plain);
  work(1, 2, plain);
  work(2, 3, plain);
  work(0, 1, critical);
  work(1, 3, critical);
  painter.setPen(QPen(plain, 1.2));
  painter.setBrush(Qt::white);
  for (const QPointF& event : events) painter.drawEllipse(event, 4.5, 4.5);
  return picture;
}

}  // namespace

QStringList creditLines() {
  const QString empty;
  return {
      empty,
      empty,
      empty,
      empty,
      empty,
      empty,
      empty,
      QStringLiteral("Программа расчета и оптимизации"),
      QStringLiteral("трудовых ресурсов по времени"),
      empty,
      QStringLiteral("Сетевое планирование"),
      QStringLiteral("и управление"),
      QStringLiteral("трудовыми ресурсами"),
      empty,
      QStringLiteral("Авторы :"),
      empty,
      QStringLiteral("Команда разработки"),
      QStringLiteral("и"),
      QStringLiteral("все, кто помогал советом"),
      empty,
      QStringLiteral("Учебный проект"),
      empty,
      QStringLiteral("Version ") + QLatin1String(kProgramVersion),
      empty,
      QStringLiteral("2026 год"),
  };
}

TAbove::TAbove(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("Above"));
  setWindowTitle(QStringLiteral("Авторы"));
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  setFixedSize(kClientWidth, kClientHeight);

  SecretPanel1 = new CreditsPanel(creditLines(), networkPicture(), this);
  SecretPanel1->setObjectName(QStringLiteral("SecretPanel1"));
  SecretPanel1->setGeometry(0, 0, kClientWidth, kClientHeight - kBottomBarHeight);

  Button1 = new QPushButton(QStringLiteral("Ок"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(0, kClientHeight - kBottomBarHeight, kClientWidth, kBottomBarHeight);
  Button1->setDefault(true);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TAbove::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    if (const QScreen* screen = this->screen()) {
      const QSize frame = frameGeometry().size();
      move(screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
    FormActivate();
  }
  QDialog::showEvent(event);
}

void TAbove::FormActivate() { SecretPanel1->restart(); }

}  // namespace velko
