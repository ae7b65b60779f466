#include "tools/batch_usage.h"

#include "velko_version.h"

namespace velko {

std::string batchUsageLine() {
  return "Использование: velko-batch [--optimise] [--smooth FILE.csv] [--reallocate FILE.csv] "
         "[--crews ID=N[,ID=N...]] [--crews-schedule FILE.csv] [--report FILE.pdf] [--charts DIR] "
         "[--plan FILE.csv|FILE.pdf] [--export OUT.xml] DATAFILE\n";
}

std::string batchHelpText() {
  return batchUsageLine() +
         "\n"
         "Открывает файл исходных данных DATAFILE (*.dat), выполняет «Расчет» или, с\n"
         "--optimise, «Оптимизация», записывает файл результатов velko.rez в текущую\n"
         "папку и выводит его текст в UTF-8. DATAFILE может быть и файлом MS Project XML\n"
         "(*.xml): тогда отчет о преобразовании выводится в stderr.\n"
         "\n"
         "Параметры:\n"
         "  --optimise         «Оптимизация» вместо «Расчет»\n"
         "  --report FILE.pdf  записать печатный отчет этого расчета в PDF-файл\n"
         "  --smooth FILE.csv  выровнять потребность в рабочих в пределах резервов и записать\n"
         "                     сдвинутые начала работ в FILE.csv; строка об итоге в конце\n"
         "  --reallocate FILE.csv\n"
         "                     перераспределить рабочих каждого Id между его работами для\n"
         "                     кратчайшего критического пути и записать новые t и n в FILE.csv;\n"
         "                     строка об итоге в конце; с --charts - и рисунки после него\n"
         "  --crews ID=N[,...]  ограничить бригады: не больше N рабочих с идентификатором ID\n"
         "                     одновременно (без --crews - ограничения из файла данных);\n"
         "                     строка о новой длине в конце\n"
         "  --crews-schedule FILE.csv  записать начала и задержки работ с ограничением\n"
         "                     бригад в FILE.csv\n"
         "  --charts DIR       записать в папку DIR графики (PNG) и журнал оптимизации (CSV)\n"
         "  --plan FILE        записать календарный план (работы с датами начала и окончания)\n"
         "                     в FILE.csv (UTF-8) или FILE.pdf; нужна дата начала проекта\n"
         "  --export OUT.xml   записать рассчитанную сеть в файл MS Project XML\n"
         "  -h, --help         показать эту справку и выйти\n"
         "  --version          показать версию и выйти\n"
         "\n"
         "Код выхода: 0 - успешно, 1 - ошибка расчета или файла (сообщение в stderr),\n"
         "2 - неверные параметры.\n";
}

std::string batchVersionText() { return std::string("velko-batch ") + kProgramVersion + "\n"; }

}  // namespace velko
