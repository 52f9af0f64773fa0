// The shared modal message box: a message number on its first line
// ("Error No.:" and the key) and up to three lines of text.
#pragma once

#include "frame/single_form.h"

#include <QString>

#include <array>

class QLabel;
class QPushButton;

class frmMessage : public SingleForm<frmMessage, DialogForm> {
  Q_OBJECT
 public:
  // Prepares the box; call before every showing. A key beginning with a
  // digit 1..9 is shown after "Error No.:", any other key as it is.
  void setLabelString(const QString& key, const QString& line1, const QString& line2, const QString& line3);

  std::array<QString, 4> labelStrings;
  QString messageKey;

  std::array<QLabel*, 4> lbl{};
  QPushButton* cmdOk = nullptr;
  QPushButton* HelpBtn = nullptr;

 protected:
  frmMessage();
  void onLoad() override;
  void onUnload() override;
};

// Shows a numbered message modal over the main window.
void showMessage(const QString& key, const QString& line1, const QString& line2, const QString& line3);
