// Time per test: through the real form (offscreen) with lists already
// holding 0 to 100,000 entries, and on the reckoning alone.
#include "filled_list.h"
#include "form_window.h"
#include "memory_boxes.h"
#include "number_reading.h"
#include "qt_result_list.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <benchmark/benchmark.h>

#include <string>

using namespace fortpad;

namespace {

void BM_TestThroughForm(benchmark::State& state)
{
    FormWindow form;
    form.show();
    auto* input = form.findChild<QLineEdit*>(QStringLiteral("input_num"));
    const std::u16string list = filled_list(int(state.range(0)));
    for (const char* name : {"good_box", "bad_num"})
        QtResultList(*form.findChild<QPlainTextEdit*>(QLatin1String(name))).set_text(list);
    QApplication::processEvents();

    // Alternate a good and a bad verdict so both lists keep growing.
    const QString numbers[] = {QStringLiteral("12345"), QStringLiteral("13812345678")};
    int i = 0;
    for (auto _ : state) {
        input->setText(numbers[i++ & 1]);
        QTest::keyClick(input, Qt::Key_Return);
        QApplication::processEvents(); // repaint, as a user would see it
    }
    state.counters["entries"] = double(state.range(0));
}
BENCHMARK(BM_TestThroughForm)->Arg(0)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_TestOnCore(benchmark::State& state)
{
    MemoryInput input;
    MemoryList good, bad;
    const FormBoxes boxes{input, good, bad};
    const std::u16string numbers[] = {u"12345", u"13812345678", u"  No:10001  ", u"12a"};
    int i = 0;
    for (auto _ : state) {
        input.set_text(numbers[i++ & 3]);
        run_number_test(boxes);
        if (good.str().size() > 1'000'000) { // keep memory flat; rare enough not to count
            good.set_text({});
            bad.set_text({});
        }
    }
}
BENCHMARK(BM_TestOnCore);

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
