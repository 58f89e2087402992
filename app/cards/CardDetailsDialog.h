#pragma once

#include "base/TextEncoding.h"
#include "collection/Card.h"
#include "collection/prices/PriceHistory.h"

#include <QDialog>

#include <array>
#include <functional>

class QChartView;
class QLineEdit;

// The printing details of one Card, as text to edit: what the eight entry
// fields of the window have no room for. Like the entry fields, the boxes
// refuse a character the collection's encoding cannot hold, and refused is
// told which.
class CardDetailsDialog : public QDialog {
    Q_OBJECT

public:
    using Texts = std::array<QString, kCardDetailCount>;

    CardDetailsDialog(const QString& cardName, const Texts& details, TextEncoding encoding,
                      const std::function<void(char32_t)>& refused, QWidget* parent = nullptr);

    Texts Details() const;
    // The Card's market values, oldest first, as a small chart; the chart
    // stays hidden when there are none.
    void ShowPriceHistory(const std::vector<PricePoint>& points);

private:
    QChartView* chart_ = nullptr;
    std::array<QLineEdit*, kCardDetailCount> edits_{};
};
