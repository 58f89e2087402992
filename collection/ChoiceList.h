#pragma once

#include <QSet>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

class QComboBox;

// The drop-down list of the Series or Condition box: texts in alphabetical
// order ignoring letter case, each text once ignoring case, only ever growing.
// Each entry keeps its bytes, so picking it gives them back exactly.
class ChoiceList {
public:
    explicit ChoiceList(QComboBox* box);

    bool Contains(std::string_view bytes) const;
    // Adds the text unless an entry equals it ignoring case.
    void Add(std::string_view bytes);
    // The same as Add for each text in turn, at once for an empty list.
    void AddAll(const std::vector<std::string>& texts);

private:
    static QString Key(const QString& text);

    QComboBox* box_;
    QSet<QString> keys_;
};
