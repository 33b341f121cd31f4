// The window's own road for a split: command-line load, then Execute, offscreen.
//   bench_window FILE OUTDIR FILES
// Prints the time of each part and the longest gap between two event pumps.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>

#include "FakeShellServices.h"
#include "ScriptedDialogs.h"
#include "Widgets.h"
#include "app/TVarnopelForm.h"

// The window needs no dialog on this road (existing files are overwritten
// by the check box), and the test doubles make sure none waits for a person.
using NoDialogs = varnopel::test::ScriptedDialogs;
using NoShell = varnopel::test::FakeShellServices;
using varnopel::NumberBox;
using varnopel::test::named;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: bench_window FILE OUTDIR FILES\n");
    return 2;
  }
  varnopel::TVarnopelForm form(std::make_shared<NoDialogs>(), std::make_shared<NoShell>());
  QElapsedTimer clock;
  clock.start();
  form.FormCreate({QString::fromLocal8Bit(argv[1])});
  const qint64 loaded = clock.restart();
  const qint64 loadGap = form.Pump().longestGapMs();
  form.show();
  named<QCheckBox>(form, "CheckBox1SameFolder")->setChecked(false);
  named<QLineEdit>(form, "Edit2OutFolder")->setText(QString::fromLocal8Bit(argv[2]));
  named<QCheckBox>(form, "CheckBox2OverWrite")->setChecked(true);
  named<NumberBox>(form, "NumberBox1Files")->setValue(QString::fromLocal8Bit(argv[3]).toInt());
  clock.restart();
  form.Button3ExecClick();
  const qint64 split = clock.elapsed();
  std::fprintf(stderr,
               "load %lld ms (longest pump gap %lld ms), split %lld ms (longest gap overall %lld ms), pumps %lld\n",
               static_cast<long long>(loaded), static_cast<long long>(loadGap), static_cast<long long>(split),
               static_cast<long long>(form.Pump().longestGapMs()), static_cast<long long>(form.Pump().pumps()));
  return 0;
}
