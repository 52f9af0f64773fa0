#include "frame/FrmMes.h"

#include "frame/common_routines.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"

#include <QLabel>
#include <QPushButton>

namespace {

const char* const kProgramDate = "2020/08/07";

}  // namespace

FrmMes::FrmMes() {
  for (std::size_t i = 0; i < Label1.size(); ++i) {
    Label1[i] = new QLabel(this);
    Label1[i]->setGeometry(twipsRect(240, 180 + 300 * static_cast<int>(i), 5400, 285));
  }
  Label2 = new QLabel(this);
  Label2->setGeometry(twipsRect(240, 1140, 5400, 2400));
  Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label2->setFrameShape(QFrame::Box);
  cmdOk = new QPushButton(QStringLiteral("OK"), this);
  cmdOk->setGeometry(twipsRect(2340, 3720, 1200, 375));
  cmdOk->setDefault(true);
  connect(cmdOk, &QPushButton::clicked, this, [this] { unload(); });
  setFixedSize(twipsToPixels(5900), twipsToPixels(4300));
}

void FrmMes::onLoad() {
  setWindowTitle(tableText(405));
  Label1[0]->setText(tableText(406));
  Label1[1]->setText(tableText(407));
  Label1[2]->setText(textTableTag());
  for (QLabel* label : Label1) label->setFont(appFont());
  Label2->setFont(appFont());
}

void FrmMes::fillVersionText() {
  const auto& versions = program().versionTexts;
  // The lines are broken with line feeds, which the label shows as new lines.
  const QString text = QStringLiteral("\n      Version   :  ") + versions[0] +
                       QStringLiteral("\n\n      Release   :  ") + generalDateText(versions[3]) +
                       QStringLiteral("\n\n   Program Version\n       pelomar3.exe : Ver.1.68 (") +
                       generalDateText(QLatin1String(kProgramDate)) +
                       QStringLiteral(")\n       Tramsoll.dll : Ver.") + versions[1] + QStringLiteral(" (") +
                       generalDateText(versions[4]) + QStringLiteral(")");
  Label2->setText(text);
}
