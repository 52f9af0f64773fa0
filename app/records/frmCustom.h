// The customer editor: makes a new customer or changes the current one.
// Save checks the id, keeps the customer's folder and files in step with a
// changed id and writes <id>/<id>.dak; then recording work goes on to the
// map list and customer-records work back to the customer list. Cancel
// always leads back to the customer list.
#pragma once

#include "frame/key_table.h"
#include "frame/single_form.h"

#include <QString>

#include <array>
#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class frmCustom : public SingleForm<frmCustom, ChildForm> {
  Q_OBJECT
 public:
  // Set by the opener before it shows the window.
  enum : int32_t { kNewCustomer = 0, kEditCustomer = 1 };
  int32_t customMode = kNewCustomer;

  QGroupBox* fraCustom = nullptr;
  // Customer ID, name, section, person in charge, address, telephone, fax,
  // remarks.
  std::array<QLabel*, 8> lbl{};
  QLineEdit* txtId = nullptr;
  QLineEdit* txtName = nullptr;
  QLineEdit* txtPost = nullptr;
  QLineEdit* txtChargeMan = nullptr;
  QLineEdit* txtAddress = nullptr;
  QLineEdit* txtTelNumber = nullptr;
  QLineEdit* txtFaxNumber = nullptr;
  QLineEdit* txtOthers = nullptr;
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdCancel = nullptr;

  static constexpr int kWidth = 6915;
  static constexpr int kHeight = 3660;

  void cancel() override;

 protected:
  frmCustom();
  void onLoad() override;
  void onActivate() override;

 private:
  std::array<QLineEdit*, 8> textBoxes() const;
  void setCustomerEditorCaptions();
  void showCustomerFields();
  void storeCustomerFields(const QString& id);
  void save();
  bool moveToNewId(const QString& oldId, const QString& newId);
  void refuseId(const QString& key, const QString& line1, const QString& line2);
  void goOnAfterSave();

  KeyTable keys_;
};
