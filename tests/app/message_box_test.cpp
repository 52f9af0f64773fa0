// The shared message box, the Yes/No question from the text table and the
// stop-recording question: texts, geometry, keys and the dialog flag.
#include "frame/dialogs/ask_yes_no.h"
#include "frame/dialogs/frmMessage.h"
#include "frame/dialogs/frmStopRecode.h"
#include "frame/fit_to_text.h"
#include "frame/frmMdi.h"
#include "frame/program_values.h"
#include "frame/texts/text_table.h"
#include "frame/twips.h"
#include "support/test_support.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMdiArea>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class MessageBoxTest : public QObject {
  Q_OBJECT

  int mainLeft = 0;
  int mainTop = 0;

 private slots:
  void initTestCase() {
    setEnglishTexts();
    copyTextsToLabelGlobals();
    // The main window with an inner area of 600 x 400 pixels, that is
    // 9000 x 6000 twips; its left and top are those of its frame.
    frmMdi& main = frmMdi::instance();
    main.setGeometry(100, 50, 600, 400);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    // The menu bar and the status line take their part of the height.
    main.resize(600, 800 - main.innerSize().height());
    QTRY_COMPARE(main.innerSize(), QSize(600, 400));
    QCOMPARE(main.innerSize(), QSize(600, 400));
    mainLeft = pixelsToTwips(main.x());
    mainTop = pixelsToTwips(main.y());
  }
  void cleanup() {
    frmMessage::instance().unload();
    frmStopRecode::instance().unload();
    textTableTag().clear();
    copyTextsToLabelGlobals();
  }

  void messageNumberLine_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("line0");
    QTest::addColumn<bool>("help");
    QTest::newRow("5-3 has help") << "5-3" << "Error No.:5-3" << true;
    QTest::newRow("6-1 has help") << "6-1" << "Error No.:6-1" << true;
    QTest::newRow("12-2 begins with 1") << "12-2" << "Error No.:12-2" << false;
    QTest::newRow("0-1 is not numbered") << "0-1" << "0-1" << false;
    QTest::newRow("a sentence as line 0") << "Centralized operation is off." << "Centralized operation is off."
                                          << false;
    QTest::newRow("empty key") << "" << "" << false;
  }
  void messageNumberLine() {
    QFETCH(QString, key);
    QFETCH(QString, line0);
    QFETCH(bool, help);
    frmMessage& box = frmMessage::instance();
    box.setLabelString(key, messageTexts()[1], QString(), QStringLiteral("third"));
    QCOMPARE(box.labelStrings[0], line0);
    QCOMPARE(box.labelStrings[1], QStringLiteral("Only this software can be executed at one time."));
    QCOMPARE(box.labelStrings[3], QStringLiteral("third"));
    QCOMPARE(box.messageKey, key);
    QCOMPARE(box.HelpBtn->isVisibleTo(&box), help);
    QCOMPARE(box.HelpBtn->isEnabled(), help);
    box.load();
    QCOMPARE(box.lbl[0]->text(), line0);
    QCOMPARE(box.windowTitle(), QStringLiteral("Pelomar Vexa 5 Software"));
  }

  void helpComesBackAfterAMessageWithout() {
    frmMessage& box = frmMessage::instance();
    box.setLabelString(QStringLiteral("1-1"), QString(), QString(), QString());
    QVERIFY(!box.HelpBtn->isVisibleTo(&box));
    box.setLabelString(QStringLiteral("5-3"), QString(), QString(), QString());
    QVERIFY(box.HelpBtn->isVisibleTo(&box));
    QVERIFY(box.HelpBtn->isEnabled());
  }

  void shortLinesGiveTheNarrowestBox() {
    frmMessage& box = frmMessage::instance();
    box.setLabelString(QStringLiteral("1-3"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
    box.load();
    // 2000 + 500 twips wide, or as wide as its title, and 2500 high,
    // centred on the main window.
    const int width = std::max(2500, pixelsToTwips(titleWidthNeeded(box)));
    QCOMPARE(box.geometry(), QRect(twipsToPixels(mainLeft + (9000 - width) / 2), twipsToPixels(mainTop + (6000 - 2500) / 2),
                                   twipsToPixels(width), twipsToPixels(2500)));
    // OK: a quarter of the width, at least 860, left as computed from the
    // quarter.
    QCOMPARE(box.cmdOk->geometry().width(), twipsToPixels(std::max(width / 4, 860)));
    QCOMPARE(box.cmdOk->geometry().x(), twipsToPixels((width - width / 4) / 2));
    const int label0 = pixelsToTwips(box.lbl[0]->width());
    QCOMPARE(box.lbl[0]->x(), twipsToPixels((width - label0) / 2));
  }

  void longLineWidensTheBox() {
    frmMessage& box = frmMessage::instance();
    box.setLabelString(QStringLiteral("6-6"), messageTexts()[28], QString(), QString());
    box.load();
    const int widest = pixelsToTwips(box.lbl[1]->width());
    QVERIFY(widest > 2000);
    const int width = widest + 500;
    QCOMPARE(box.width(), twipsToPixels(width));
    QCOMPARE(box.x(), twipsToPixels(mainLeft + (9000 - width) / 2));
    QCOMPARE(box.cmdOk->width(), twipsToPixels(width / 4 < 860 ? 860 : width / 4));
    saveScreenshot(box, QStringLiteral("frmMessage"));
  }

  void dialogFlagHoldsWhileAnyDialogIsUp() {
    QVERIFY(!program().dialogOpen);
    frmStopRecode::instance().load();
    frmMessage& box = frmMessage::instance();
    box.setLabelString(QStringLiteral("1-2"), messageTexts()[2], messageTexts()[3], QString());
    answerNextModal([](QWidget* modal) {
      QVERIFY(program().dialogOpen);
      QCOMPARE(program().dialogOpen.depth(), 2);
      QTest::mouseClick(static_cast<frmMessage*>(modal)->cmdOk, Qt::LeftButton);
    });
    box.showModal();
    QVERIFY(!box.isLoaded());
    QVERIFY(program().dialogOpen);  // the outer dialog is still up
    frmStopRecode::instance().unload();
    QVERIFY(!program().dialogOpen);
  }

  void escapeClosesTheMessageBox() {
    frmMessage& box = frmMessage::instance();
    box.setLabelString(QStringLiteral("1-1"), QString(), messageTexts()[1], QString());
    answerNextModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    box.showModal();
    QVERIFY(!box.isVisible());
    QVERIFY(!program().dialogOpen);
  }

  void yesNoQuestionFromConsecutiveTexts() {
    QString text, title;
    answerNextModal([&](QWidget* modal) {
      auto* question = qobject_cast<QMessageBox*>(modal);
      QVERIFY(question);
      text = question->text();
      title = question->windowTitle();
      QCOMPARE(question->icon(), QMessageBox::Question);
      question->button(QMessageBox::Yes)->click();
    });
    QCOMPARE(askYesNoFromTexts(374, 2), kAnswerYes);
    QCOMPARE(text, labelTexts()[374] + "\n\n" + labelTexts()[375] + "\n\n");
    QCOMPARE(title, QStringLiteral("Pelomar Vexa 5 Software"));
    answerNextModal([](QWidget* modal) { qobject_cast<QMessageBox*>(modal)->button(QMessageBox::No)->click(); });
    QCOMPARE(askYesNoFromTexts(374, 2), kAnswerNo);
  }

  void stopRecordingQuestionLayoutAndCaptions() {
    frmStopRecode& question = frmStopRecode::instance();
    question.load();
    const QPoint inner = frmMdi::instance().mdiArea->mapToGlobal(QPoint(0, 0));
    // The design's size, grown about the centre where the lines need more.
    const QRect design(twipsToPixels(pixelsToTwips(inner.x()) + (9000 - 4500) / 2),
                       twipsToPixels(pixelsToTwips(inner.y()) + (6000 - 2500) / 2), twipsToPixels(4500),
                       twipsToPixels(2500));
    QVERIFY(question.width() >= design.width() && question.height() >= design.height());
    QVERIFY(std::abs(question.geometry().center().x() - design.center().x()) <= 1);
    QVERIFY(std::abs(question.geometry().center().y() - design.center().y()) <= 1);
    QCOMPARE(question.cmdOk->text(), QStringLiteral("Yes (F1)"));
    QCOMPARE(question.lbl2->text(), QStringLiteral("is being recorded. Quit recording data?"));
    saveScreenshot(question, QStringLiteral("frmStopRecode"));
    question.unload();

    // With a language tag every caption comes from the table, empty ones too.
    labelTexts()[0] = QStringLiteral("XX");
    labelTexts()[15] = QStringLiteral("Oui (F1)");
    labelTexts()[357] = QStringLiteral("Enregistrement en cours.");
    textTableTag() = labelTexts()[0];
    copyTextsToLabelGlobals();
    question.load();
    QCOMPARE(question.cmdOk->text(), QStringLiteral("Oui (F1)"));
    QCOMPARE(question.lbl1->text(), QStringLiteral("Enregistrement en cours."));
    QCOMPARE(question.lbl2->text(), QString());
    setEnglishTexts();
  }

  void stopRecordingQuestionKeys() {
    frmStopRecode& question = frmStopRecode::instance();
    question.idCalledFrom = 2;
    answerNextModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_F1); });
    QCOMPARE(question.showModal(), int(QDialog::Accepted));
    QVERIFY(!question.isLoaded());

    // F1 does nothing while Yes is disabled; Esc answers No.
    question.cmdOk->setEnabled(false);
    answerNextModal([](QWidget* modal) {
      QTest::keyClick(modal, Qt::Key_F1);
      QVERIFY(modal->isVisible());
      QTest::keyClick(modal, Qt::Key_Escape);
    });
    question.showModal();
    QVERIFY(!question.isLoaded());
    QVERIFY(!program().dialogOpen);
    question.cmdOk->setEnabled(true);
  }
};

QTEST_MAIN(MessageBoxTest)
#include "message_box_test.moc"
