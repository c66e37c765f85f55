// The platform layer: dialog units, templates turned into controls found by
// id, window timers, and requests that keep the window painting.
#include "CDialogEx.h"
#include "CTabCtrl.h"
#include "DialogUnits.h"
#include "WaitForRequest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <thread>

using namespace rowstone;

namespace {

class TickCounter : public ui::CDialogEx {
public:
    TickCounter() : ui::CDialogEx(129) {}
    std::map<int, int> ticks;

protected:
    void OnTimer(int id) override { ++ticks[id]; }
};

class PaintCounter : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    void dialogUnits_data() {
        QTest::addColumn<int>("unitsX");
        QTest::addColumn<int>("unitsY");
        QTest::addColumn<QRect>("dlu");
        QTest::addColumn<QRect>("pixels");
        // The classic 8-point dialog font has base units 6 x 13.
        QTest::newRow("board view") << 6 << 13 << QRect(7, 7, 198, 163) << QRect(11, 11, 297, 265);
        QTest::newRow("start button")
            << 6 << 13 << QRect(245, 24, 50, 14) << QRect(368, 39, 75, 23);
        QTest::newRow("halves round up") << 6 << 13 << QRect(1, 4, 3, 12) << QRect(2, 7, 5, 20);
        QTest::newRow("larger font") << 8 << 16 << QRect(10, 10, 40, 8) << QRect(20, 20, 80, 16);
    }
    void dialogUnits() {
        QFETCH(int, unitsX);
        QFETCH(int, unitsY);
        QFETCH(QRect, dlu);
        QFETCH(QRect, pixels);
        const ui::DialogBaseUnits units{unitsX, unitsY};
        QCOMPARE(ui::DluToPixels(ui::DluRect{dlu.x(), dlu.y(), dlu.width(), dlu.height()}, units),
                 pixels);
    }

    void baseUnitsFollowTheFont() {
        QFont small(QStringLiteral("DejaVu Sans"));
        small.setPixelSize(10);
        QFont large = small;
        large.setPixelSize(20);
        const ui::DialogBaseUnits a = ui::BaseUnitsOf(small);
        const ui::DialogBaseUnits b = ui::BaseUnitsOf(large);
        QVERIFY(a.x >= 1 && a.y >= 1);
        QVERIFY(b.x > a.x);
        QVERIFY(b.y > a.y);
    }

    void everyTemplateBuildsItsControls_data() {
        QTest::addColumn<int>("templateId");
        for (int id : {100, 102, 129, 130, 135, 137, 139, 142, 144, 146, 149})
            QTest::newRow(qPrintable(QString::number(id))) << id;
    }
    void everyTemplateBuildsItsControls() {
        QFETCH(int, templateId);
        const ui::DialogTemplate* data = ui::FindDialogTemplate(templateId);
        QVERIFY(data != nullptr);
        ui::CDialogEx dialog(templateId);
        QVERIFY(dialog.Create(nullptr));
        const ui::DialogBaseUnits units = dialog.BaseUnits();
        QCOMPARE(dialog.width(), ui::DluToPixelsX(data->width, units));
        for (const ui::ControlTemplate& control : data->controls) {
            if (control.id < 0)
                continue;
            QWidget* widget = dialog.GetDlgItem(control.id);
            QVERIFY2(widget != nullptr, qPrintable(QStringLiteral("control %1").arg(control.id)));
            QCOMPARE(widget->isEnabled(), (control.styles & ui::kDisabled) == 0);
            QCOMPARE(widget->isHidden(), (control.styles & ui::kHidden) != 0);
            const QString text = QString::fromUtf8(control.text);
            switch (control.kind) {
            case ui::ControlKind::PushButton:
            case ui::ControlKind::DefPushButton:
                QCOMPARE(qobject_cast<QPushButton*>(widget)->text(), text);
                QCOMPARE(qobject_cast<QPushButton*>(widget)->isDefault(),
                         control.kind == ui::ControlKind::DefPushButton);
                break;
            case ui::ControlKind::Label:
                QCOMPARE(qobject_cast<QLabel*>(widget)->text(), text);
                break;
            case ui::ControlKind::CheckBox:
                QCOMPARE(qobject_cast<QCheckBox*>(widget)->text(), text);
                break;
            case ui::ControlKind::ComboBox:
                QVERIFY(qobject_cast<QComboBox*>(widget) != nullptr);
                break;
            case ui::ControlKind::Edit:
                QVERIFY(qobject_cast<QLineEdit*>(widget) != nullptr ||
                        qobject_cast<QPlainTextEdit*>(widget) != nullptr);
                break;
            case ui::ControlKind::TabControl:
                QVERIFY(qobject_cast<ui::CTabCtrl*>(widget) != nullptr);
                break;
            default:
                break;
            }
            QCOMPARE(widget->pos(), ui::DluToPixels(control.rect, units).topLeft());
        }
        QVERIFY(dialog.GetDlgItem(4242) == nullptr);
    }

    void passwordEditHidesItsText() {
        ui::CDialogEx login(142);
        QVERIFY(login.Create(nullptr));
        QCOMPARE(login.Item<QLineEdit>(1024)->echoMode(), QLineEdit::Password);
        QCOMPARE(login.Item<QLineEdit>(1023)->echoMode(), QLineEdit::Normal);
        QCOMPARE(QString::fromUtf8(ui::FindDialogTemplate(142)->caption), QStringLiteral("登录"));
    }

    void timersTickByIdUntilKilled() {
        TickCounter dialog;
        QVERIFY(dialog.Create(nullptr));
        dialog.SetTimer(1, 20);
        dialog.SetTimer(2, 20);
        QTRY_VERIFY(dialog.ticks[1] >= 2 && dialog.ticks[2] >= 2);
        dialog.KillTimer(2);
        QVERIFY(!dialog.HasTimer(2));
        const int frozen = dialog.ticks[2];
        const int running = dialog.ticks[1];
        QTest::qWait(100);
        QCOMPARE(dialog.ticks[2], frozen);
        QVERIFY(dialog.ticks[1] > running);
        // Setting an id that runs already replaces it rather than adding one.
        dialog.SetTimer(1, 1000);
        const int before = dialog.ticks[1];
        QTest::qWait(100);
        QCOMPARE(dialog.ticks[1], before);
        dialog.KillTimer(1);
        dialog.KillTimer(7); // unknown ids are ignored
    }

    void requestRunsOffTheUiThreadWhileTheWindowPaints() {
        PaintCounter window;
        window.resize(100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int before = window.paints;
        QTimer::singleShot(50, &window, [&window] { window.update(); });
        std::thread::id workerThread;
        int timerTicks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, &window, [&timerTicks] { ++timerTicks; });
        ticker.start(20);
        ui::WaitForRequest(&window, [&workerThread] {
            workerThread = std::this_thread::get_id();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        });
        QVERIFY(workerThread != std::this_thread::get_id());
        QVERIFY(window.paints > before);
        QVERIFY(timerTicks > 3);
    }

    // The stone sound: a mono 16-bit PCM clip at 22 050 Hz, 10 914 bytes of
    // samples, in the program's resources.
    void stoneSoundIsOurOwnShortClip() {
        QFile file(QStringLiteral(":/res/stone.wav"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray wav = file.readAll();
        QCOMPARE(wav.left(4), QByteArray("RIFF"));
        QCOMPARE(wav.mid(8, 4), QByteArray("WAVE"));
        const auto u16 = [&wav](int at) {
            return int(uchar(wav[at])) | int(uchar(wav[at + 1])) << 8;
        };
        const auto u32 = [&wav, &u16](int at) { return u16(at) | u16(at + 2) << 16; };
        QCOMPARE(u16(20), 1);     // PCM
        QCOMPARE(u16(22), 1);     // mono
        QCOMPARE(u32(24), 22050); // samples per second
        QCOMPARE(u16(34), 16);    // bits per sample
        QCOMPARE(wav.mid(36, 4), QByteArray("data"));
        QCOMPARE(u32(40), 10914);
        QCOMPARE(wav.size(), 44 + 10914);
    }

    void tabControlReportsOnlyThePlayersSelection() {
        ui::CTabCtrl tabs;
        for (int i = 0; i < 3; ++i)
            tabs.InsertItem(i, QStringLiteral("t%1").arg(i));
        QList<int> reported;
        QObject::connect(&tabs, &ui::CTabCtrl::SelectionChanged, &tabs,
                         [&reported](int i) { reported << i; });
        tabs.SetCurSel(2);
        QCOMPARE(tabs.GetCurSel(), 2);
        QVERIFY(reported.isEmpty());
        tabs.Strip()->setCurrentIndex(1); // as a click on the strip does
        QCOMPARE(reported, QList<int>{1});
    }
};

QTEST_MAIN(PlatformTest)
#include "PlatformTest.moc"
