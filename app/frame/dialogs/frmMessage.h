// The shared modal message box: a message number on its first line
// ("Error No.:" and the key) and up to three lines of text.
#pragma once

#include "frame/form.h"

#include <QString>

#include <array>

class QLabel;
class QPushButton;

class frmMessage : public DialogForm {
  Q_OBJECT
 public:
  static frmMessage& instance();

  // Prepares the box; call before every showing. A key beginning with a
  // digit 1..9 is shown after "Error No.:", any other key as it is.
  void setLabelString(const QString& key, const QString& line1, const QString& line2, const QString& line3);

  std::array<QString, 4> labelStrings;
  QString messageKey;

  std::array<QLabel*, 4> lbl{};
  QPushButton* cmdOk = nullptr;
  QPushButton* HelpBtn = nullptr;

 protected:
  void onLoad() override;
  void onUnload() override;

 private:
  frmMessage();
  template <class T>
  friend T& programInstance();
};

// Shows a numbered message modal over the main window.
void showMessage(const QString& key, const QString& line1, const QString& line2, const QString& line3);
