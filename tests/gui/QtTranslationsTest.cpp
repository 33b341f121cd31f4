// Qt's own dialog texts in Japanese, where Qt's translations are installed.
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "app/QtTranslations.h"

class QtTranslationsTest : public QObject {
  Q_OBJECT

 private slots:
  void japaneseButtons() {
    const QString file = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ja.qm");
    if (!QFileInfo::exists(file)) QSKIP("Qt's Japanese translation is not installed");
    QVERIFY(varnopel::InstallQtTranslations(*QCoreApplication::instance(), QLocale(QLocale::Japanese, QLocale::Japan)));
    QDialogButtonBox box(QDialogButtonBox::Close | QDialogButtonBox::Open | QDialogButtonBox::Cancel);
    for (auto which : {QDialogButtonBox::Close, QDialogButtonBox::Open, QDialogButtonBox::Cancel}) {
      const QString text = box.button(which)->text();
      QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("[A-Za-z]{3}"))), qPrintable(text));
    }
  }

  // A locale without Qt's translation leaves Qt's English, quietly.
  void missingTranslationIsNoError() {
    QVERIFY(!varnopel::InstallQtTranslations(*QCoreApplication::instance(), QLocale(QLocale::Zulu)));
  }
};

QTEST_MAIN(QtTranslationsTest)
#include "QtTranslationsTest.moc"
