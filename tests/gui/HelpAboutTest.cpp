// The Help menu: the help page search, the About text and box, the Kyiv
// date line, and the maker's pages.
#include <QAction>
#include <QTabWidget>
#include <QSet>
#include <QRegularExpression>
#include <QMenu>
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "FormFixture.h"
#include "Widgets.h"
#include "app/AboutBox.h"
#include "shell/HelpAbout.h"

using varnopel::TVarnopelForm;
using varnopel::test::FakeShellServices;
using varnopel::test::named;
using varnopel::test::ScriptedDialogs;
using Kind = ScriptedDialogs::Kind;

class HelpAboutTest : public QObject, varnopel::test::FormFixture {
  Q_OBJECT

 private:
 private slots:
  void init() {
    varnopel::HelpInstallFolder.clear();
    resetFixture();
    start({}, false);
  }

  void cleanup() {
    form_.reset();
    QCOMPARE(dialogs_->pending(), size_t(0));
  }

  // Every control the help page names (class="control", captions joined
  // by ／) carries that caption in the window, menus and list menu included.
  void helpPageNamesControlsByTheirCaptions() {
    QFile file(QStringLiteral(VARNOPEL_HELP_PAGE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(file.readAll());

    QSet<QString> captions;
    const auto add = [&](QString text) {
      text.remove(QRegularExpression(QStringLiteral("\\(&.\\)$"))).remove(u'&');
      captions << text;
    };
    for (const QAbstractButton* b : form_->findChildren<QAbstractButton*>()) add(b->text());
    for (const QLabel* l : form_->findChildren<QLabel*>()) add(l->text());
    for (const QAction* a : form_->findChildren<QAction*>()) add(a->text());
    for (const QMenu* m : form_->findChildren<QMenu*>()) add(m->title());
    const QTabWidget* tabs = named<QTabWidget>(*form_, "PageControl1");
    for (int i = 0; i < tabs->count(); ++i) add(tabs->tabText(i));

    int checked = 0;
    const QRegularExpression control(QStringLiteral("class=\"control\">([^<]+)<"));
    for (auto match = control.globalMatch(page); match.hasNext();) {
      for (const QString& name : match.next().captured(1).split(u'／')) {
        ++checked;
        QVERIFY2(captions.contains(name), qPrintable(name));
      }
    }
    QVERIFY(checked > 40);  // the page's tables were read
  }

  void helpPageIsFoundFolderByFolderUpwards() {
    const QString bin = temp_->filePath(QStringLiteral("opt/bin"));
    QVERIFY(QDir().mkpath(bin));
    shell_->program = bin + QStringLiteral("/varnopel.bin");

    // None anywhere up to the root.
    named<QAction>(*form_, "Help2")->trigger();
    QCOMPARE(dialogs_->texts(Kind::Information),
             QStringList{QStringLiteral("ヘルプファイルがありません\r\n\r\nvarnopel.html")});
    QVERIFY(shell_->opened.isEmpty());

    // Two folders up: the extension is replaced, not added to.
    const QString page = temp_->filePath(QStringLiteral("varnopel.html"));
    QFile(page).open(QIODevice::WriteOnly);
    named<QAction>(*form_, "Help2")->trigger();
    QCOMPARE(shell_->opened, QStringList{page});

    // A nearer one wins.
    const QString nearer = temp_->filePath(QStringLiteral("opt/varnopel.html"));
    QFile(nearer).open(QIODevice::WriteOnly);
    named<QAction>(*form_, "Help2")->trigger();
    QCOMPARE(shell_->opened.last(), nearer);
  }

  void helpPageFromTheInstalledFolder() {
    const QString doc = temp_->filePath(QStringLiteral("share/doc/varnopel"));
    QVERIFY(QDir().mkpath(doc));
    QFile(doc + QStringLiteral("/varnopel.html")).open(QIODevice::WriteOnly);
    QCOMPARE(varnopel::FindHelpFile(QStringLiteral("/nowhere/bin/varnopel"), doc),
             doc + QStringLiteral("/varnopel.html"));
    // Installed under another prefix than the build was made for.
    QCOMPARE(varnopel::FindHelpFile(temp_->filePath(QStringLiteral("bin/varnopel")), QString()),
             doc + QStringLiteral("/varnopel.html"));
  }

  void screenLine_data() {
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QString>("expected");
    QTest::newRow("144") << 144 << "CurrentScreen 1920 x 1080 / 144dpi x 150%";
    QTest::newRow("96") << 96 << "CurrentScreen 1920 x 1080 / 96dpi x 100%";
    QTest::newRow("120") << 120 << "CurrentScreen 1920 x 1080 / 120dpi x 125%";
    QTest::newRow("rounds half up") << 100 << "CurrentScreen 1920 x 1080 / 100dpi x 104%";
  }

  void screenLine() {
    QFETCH(int, dpi);
    QFETCH(QString, expected);
    QCOMPARE(varnopel::ScreenLine(1920, 1080, dpi), expected);
  }

  // Times are UTC; Kyiv's standard reckoning is UTC+2. In 2023 the last
  // Sundays are 26 March and 29 October.
  void ukraineTime_data() {
    QTest::addColumn<QDateTime>("utc");
    QTest::addColumn<QString>("expected");
    auto at = [](int month, int day, int hour, int minute) {
      return QDateTime(QDate(2023, month, day), QTime(hour, minute), Qt::UTC);
    };
    QTest::newRow("March 03:00 is still winter")
        << at(3, 26, 1, 0) << "Peace For Ukraine\r\n26 березень 2023 неділя 03:00, Ukraine Standard Time";
    QTest::newRow("March 03:01 is summer")
        << at(3, 26, 1, 1)
        << "Peace for Ukraine\r\n26 березень 2023 неділя 04:01, Ukraine Standard Time (in Daylight Saving Time)";
    QTest::newRow("October 03:30 is still summer")
        << at(10, 29, 1, 30)
        << "Peace for Ukraine\r\n29 жовтень 2023 неділя 04:30, Ukraine Standard Time (in Daylight Saving Time)";
    QTest::newRow("October 04:00 is winter")
        << at(10, 29, 2, 0) << "Peace For Ukraine\r\n29 жовтень 2023 неділя 04:00, Ukraine Standard Time";
    QTest::newRow("new year in Kyiv before UTC")
        << QDateTime(QDate(2023, 12, 31), QTime(22, 30), Qt::UTC)
        << "Peace For Ukraine\r\n1 січень 2024 понеділок 00:30, Ukraine Standard Time";
  }

  void ukraineTime() {
    QFETCH(QDateTime, utc);
    QFETCH(QString, expected);
    QCOMPARE(varnopel::UkraineTimeText(utc), expected);
    // The same moment seen from another zone gives the same line.
    QCOMPARE(varnopel::UkraineTimeText(utc.toOffsetFromUtc(9 * 3600)), expected);
    QCOMPARE(varnopel::UkraineTimeText(utc.toOffsetFromUtc(-5 * 3600)), expected);
  }

  void aboutText() {
    named<QAction>(*form_, "About1")->trigger();
    const QStringList shown = dialogs_->texts(Kind::About);
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].endsWith(QStringLiteral("\r\n")));
    const QStringList lines = shown[0].chopped(2).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 11);  // the date text brings two lines
    QCOMPARE(lines[0], QStringLiteral("varnopel V2.6 (2.6.0.0) Release Build"));
    QCOMPARE(lines[1], QStringLiteral("/opt/varnopel/bin/varnopel"));
    QVERIFY(lines[2].startsWith(QStringLiteral("CurrentScreen ")));
    QCOMPARE(lines[3], QString());
    QVERIFY(lines[5].contains(u'@'));
    QVERIFY(lines[6].startsWith(QStringLiteral("https://")) && lines[6].contains(QStringLiteral(".example")));
    QCOMPARE(lines[7], QStringLiteral("made in Japan"));
    QCOMPARE(lines[8], QString());
    QVERIFY(lines[9].startsWith(QStringLiteral("Peace ")));
    QVERIFY(lines[10].contains(QStringLiteral(", Ukraine Standard Time")));
    // Other files have no version.
    QCOMPARE(varnopel::FileVersionText(QStringLiteral("/bin/sh"), QStringLiteral("/opt/varnopel/bin/varnopel")),
             QString());
  }

  void aboutBoxIsAToolWindowWithHandOnOk() {
    varnopel::AboutBox box(QStringLiteral("a\r\nb\r\n"), form_.get());
    QVERIFY(box.windowFlags() & Qt::Tool);
    QVERIFY(!(box.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(box.windowFlags() & Qt::WindowSystemMenuHint));
    QCOMPARE(box.windowTitle(), QStringLiteral("ヴァルノペル"));
    QCOMPARE(box.OkButton()->text(), QStringLiteral("OK"));
    QCOMPARE(box.OkButton()->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(!box.Message()->autoFillBackground());
    QCOMPARE(box.Message()->text(), QStringLiteral("a\nb\n"));
  }

  void aboutBoxPosition_data() {
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("centred") << QRect(100, 100, 600, 400) << QPoint(300, 250);
    QTest::newRow("owner off the left edge") << QRect(-500, 100, 600, 400) << QPoint(0, 250);
    QTest::newRow("owner above the work area") << QRect(100, -300, 600, 400) << QPoint(300, 30);
  }

  void aboutBoxPosition() {
    QFETCH(QRect, owner);
    QFETCH(QPoint, expected);
    QCOMPARE(varnopel::AboutBoxPosition(owner, QSize(200, 100), QRect(0, 30, 1920, 1050)), expected);
  }

  void backgroundDirectionFollowsLowestBit() {
    auto paint = [](quint32 end) {
      QImage image(101, 51, QImage::Format_RGB32);
      QPainter painter(&image);
      varnopel::PaintAboutBackground(painter, image.rect(), end);
      return image;
    };
    // Odd: white on the left, the colour (0xBBGGRR) on the right.
    const QImage odd = paint(0x3080FF);  // red FF, green 80, blue 30; odd
    auto white = [](QColor c) { return c.red() >= 0xF8 && c.green() >= 0xF8 && c.blue() >= 0xF8; };
    QVERIFY(white(odd.pixelColor(0, 25)));
    QVERIFY(qAbs(odd.pixelColor(100, 25).green() - 0x80) <= 3 && qAbs(odd.pixelColor(100, 25).blue() - 0x30) <= 3);
    QCOMPARE(odd.pixelColor(50, 0), odd.pixelColor(50, 50));
    const QImage even = paint(0x3080FE);
    QVERIFY(white(even.pixelColor(50, 0)));
    QVERIFY(qAbs(even.pixelColor(50, 50).red() - 0xFE) <= 3 && qAbs(even.pixelColor(50, 50).blue() - 0x30) <= 3);
    QCOMPARE(even.pixelColor(0, 25), even.pixelColor(100, 25));
  }

  void everyRepaintDrawsANewColour() {
    varnopel::AboutBox box(QStringLiteral("x"), nullptr);
    QList<quint32> colours{0x000002, 0x123457};
    box.RandomColour = [&] { return colours.takeFirst(); };
    box.grab();
    QCOMPARE(box.LastColour(), quint32(0x000002));
    box.grab();
    QCOMPARE(box.LastColour(), quint32(0x123457));
    // The real generator stays within 24 bits.
    varnopel::AboutBox fresh(QStringLiteral("x"), nullptr);
    for (int i = 0; i < 100; ++i) QVERIFY(fresh.RandomColour() <= 0xFFFFFE);
  }

  void makerPagesAndProgramProperties() {
    named<QAction>(*form_, "HomeSite1")->trigger();
    named<QAction>(*form_, "Donation1")->trigger();
    QCOMPARE(shell_->opened, (QStringList{QString::fromLatin1(varnopel::kMakerHomePage),
                                          QString::fromLatin1(varnopel::kMakerSupportPage)}));
    shell_->program = QCoreApplication::applicationFilePath();
    named<QAction>(*form_, "Properties1")->trigger();
    QCOMPARE(shell_->propertiesShown, QStringList{shell_->program});
  }
};

QTEST_MAIN(HelpAboutTest)
#include "HelpAboutTest.moc"
