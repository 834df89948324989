// Times the numeric and repetitions edits under long input: a paste of n
// characters through Ctrl+V (digits only; a mix of digits, separators,
// signs, letters and blanks; letters with one digit at the end, which the
// filter must read to the last character), the mix set by the program
// (setText, the path of undo and of windows), and 100 keys typed at the end
// of a field that a paste has filled with a long number (0.000...). The
// edits are real ones in a shown window with the focus, on the offscreen
// platform unless told otherwise. Prints one table row per length with the
// processor times in ms (the keys in microseconds per key) and the lengths
// of the text the numeric field holds after the digits and after the long
// number.
//
//   bench_edit [lengths...]      (default 12500 25000 50000 100000)

#include "BenchProcess.h"

#include "foundation/PGEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <cstdio>
#include <functional>
#include <vector>

namespace
{
QString repeated(const QString &pattern, int length)
{
    QString text;
    text.reserve(length);
    while (text.size() < length)
        text += pattern;
    text.truncate(length);
    return text;
}

// A window holding one edit with the focus.
class TBenchWindow
{
public:
    explicit TBenchWindow(TPGCustomEdit *edit) : m_edit(edit)
    {
        auto *layout = new QVBoxLayout(&m_window);
        edit->setParent(&m_window);
        layout->addWidget(edit);
        m_window.show();
        m_window.activateWindow();
        if (!QTest::qWaitForWindowActive(&m_window))
            std::printf("window not active\n");
        edit->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }

    TPGCustomEdit *edit() const { return m_edit; }

private:
    QWidget m_window;
    TPGCustomEdit *m_edit;
};

// Processor time of one call in ms.
double timed(const std::function<void()> &call)
{
    const double start = Bench::CpuMs();
    call();
    return Bench::CpuMs() - start;
}

struct TRow
{
    double numDigits = 0, numMixed = 0, numJunk = 0, repsDigits = 0, repsMixed = 0, setText = 0, perKey = 0;
    qsizetype numLength = 0, longLength = 0;
};

TRow measure(int length)
{
    const QString digits = repeated(QStringLiteral("1234567890"), length);
    const QString mixed = repeated(QStringLiteral("12 3a4.5-6x7,8*!9X"), length);
    const QString junk = QString(length - 1, u'a') + u'5';
    TRow row;
    QClipboard *clipboard = QGuiApplication::clipboard();
    const auto paste = [clipboard](TPGCustomEdit *edit, const QString &text) {
        edit->clear();
        clipboard->setText(text);
        return timed([edit] { QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier); });
    };
    {
        TBenchWindow window(new TNumericalEdit(QStringLiteral("numedtBench")));
        row.numDigits = paste(window.edit(), digits);
        row.numLength = window.edit()->text().size();
        row.numMixed = paste(window.edit(), mixed);
        row.numJunk = paste(window.edit(), junk);
        window.edit()->clear();
        row.setText = timed([&] { window.edit()->setText(mixed); });
    }
    {
        TBenchWindow window(new TRepsEdit(QStringLiteral("redtBench")));
        row.repsDigits = paste(window.edit(), digits);
        row.repsMixed = paste(window.edit(), mixed);
    }
    {
        // A number that stays within the limits however long it is.
        TBenchWindow window(new TNumericalEdit(QStringLiteral("numedtBench")));
        paste(window.edit(), QStringLiteral("0.") + QString(length - 2, u'0'));
        row.longLength = window.edit()->text().size();
        window.edit()->end(false);
        constexpr int keys = 100;
        row.perKey = timed([&] {
                         for (int i = 0; i < keys; ++i)
                             QTest::keyClick(window.edit(), Qt::Key_0);
                     })
                     * 1000.0 / keys;
    }
    return row;
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    std::vector<int> lengths;
    for (int i = 1; i < argc; ++i)
        lengths.push_back(QString::fromLocal8Bit(argv[i]).toInt());
    if (lengths.empty())
        lengths = {12500, 25000, 50000, 100000};

    std::printf("%8s %10s %10s %10s %10s %10s %10s %8s %8s %8s\n", "chars", "num ms", "mix ms", "junk ms",
                "reps ms", "r.mix ms", "setText ms", "key us", "num len", "long len");
    for (const int length : lengths) {
        const TRow row = measure(std::max(length, 3));
        std::printf("%8d %10.2f %10.2f %10.2f %10.2f %10.2f %10.2f %8.1f %8lld %8lld\n", length, row.numDigits,
                    row.numMixed, row.numJunk, row.repsDigits, row.repsMixed, row.setText, row.perKey,
                    qlonglong(row.numLength), qlonglong(row.longLength));
        std::fflush(stdout);
    }
    return 0;
}
