#include "frame/frmDspParam.h"

#include "frame/program_values.h"
#include "frame/twips.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 3300;
constexpr int kHeight = 1800;

}  // namespace

frmDspParam::frmDspParam() {
  auto* layout = new QVBoxLayout(this);
  for (QLabel*& label : Label1) {
    label = new QLabel(this);
    layout->addWidget(label);
  }
  Label1[2]->setText(QStringLiteral("Cen.Ope. : ON"));
}

void frmDspParam::onLoad() {
  setGeometryTwips(0, 0, kWidth, kHeight);
  const ProgramValues& values = program();
  // A setting file of generation 2 shows no status.
  const bool shown = !values.versionTexts[0].startsWith(QLatin1Char('2'));
  for (QLabel* label : Label1) label->setVisible(shown);
  Label1[0]->setText(values.adapterOptions[0] == 1 ? QStringLiteral("ADP : plus adapter ")
                                                    : QStringLiteral("ADP : pelomar vexa5 "));
  Label1[1]->setText(QStringLiteral("Com : COM") + QString::number(values.comPortNo));
  Label1[3]->setText(QStringLiteral("Ver. : ") + values.versionTexts[0]);
}
