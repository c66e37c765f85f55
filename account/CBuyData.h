#pragma once

#include "CDialogEx.h"

#include <QString>
#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace rowstone {

class CHttpClient;

// The data purchase dialog: one row per game type, three to fifteen in a
// row, each a check box and a number of data files; the e-mail address the
// files go to; and the running total in points (one point a file). It
// closes with Accepted once the service has taken the order (Total() is
// then what it cost) and with Rejected on "取消" or Esc.
class CBuyData : public ui::CDialogEx {
public:
    enum ControlId {
        kOrderButton = 1,
        kCancelButton = 2,
        kEmailEdit = 1031,
        kEmailLabel = 1039,
        kTotalCaption = 1054,
        kTotalLabel = 1055,
        kPointsLabel = 1069,
    };
    static constexpr int kRowCount = 13;
    static constexpr int kFirstRowLength = 3;
    static constexpr int kMaxEmailLength = 48;
    // Eight digits: thirteen full rows still total less than INT32_MAX.
    static constexpr int kMaxQuantityLength = 8;

    // The controls of a row, from 0 (three in a row) to 12 (fifteen).
    static int CheckBoxId(int row);
    static int QuantityEditId(int row);

    explicit CBuyData(QString serviceUrl, QWidget* parent = nullptr);
    ~CBuyData() override;

    // The order's cost in points, as the total label shows it.
    int Total() const { return total; }

    int userId = 0;
    QString sessionKey;

protected:
    bool OnInitDialog() override;

private:
    void OnRowSwitched(int row);
    void UpdateTotal();
    void OnOrder();
    int RowQuantity(int row) const;

    QString serviceUrl;
    std::unique_ptr<CHttpClient> httpClient;
    QLineEdit* emailEdit = nullptr;
    std::array<QCheckBox*, kRowCount> checkBoxes{};
    std::array<QLineEdit*, kRowCount> quantityEdits{};
    QLabel* totalLabel = nullptr;
    int total = 0;
};

} // namespace rowstone
