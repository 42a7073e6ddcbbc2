#include "main_window/report_model.h"

#include <stdexcept>

namespace orvalis {

namespace {

std::size_t LabelIndex(ReportLabel label) {
    return static_cast<std::size_t>(label);
}

}  // namespace

ReportModel::Panel& ReportModel::At(int panel) {
    return const_cast<Panel&>(static_cast<const ReportModel&>(*this).PanelAt(panel));
}

const ReportModel::Panel& ReportModel::PanelAt(int panel) const {
    if (panel < 1 || panel > kPanels)
        throw std::out_of_range("slot panel " + std::to_string(panel) + " does not exist");
    return panels_[static_cast<std::size_t>(panel - 1)];
}

void ReportModel::SetLabel(ReportLabel label, const std::string& text) {
    labels_.at(LabelIndex(label)) = text;
}

const std::string& ReportModel::Label(ReportLabel label) const {
    return labels_.at(LabelIndex(label));
}

void ReportModel::SetGroupEnabled(int panel, bool enabled) {
    At(panel).groupEnabled = enabled;
}
bool ReportModel::IsGroupEnabled(int panel) const {
    return PanelAt(panel).groupEnabled;
}
void ReportModel::NarrowToLeftColumn() {
    narrow_ = true;
}
void ReportModel::ClearList(int panel) {
    At(panel).rows.clear();
}

void ReportModel::SetColumnCaption(int panel, int column, const std::string& caption) {
    At(panel).columnCaptions.at(static_cast<std::size_t>(column)) = caption;
}

void ReportModel::AddRow(int panel, const std::string& parameter, const std::string& value) {
    At(panel).rows.emplace_back(parameter, value);
}

void ReportModel::AutoSizeColumns(int panel) {
    ++At(panel).autoSizeCount;
}

std::string ReportModel::ListCell(int panel, int row, int column) const {
    const auto& rows = PanelAt(panel).rows;
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return {};
    if (column == 0) return rows[static_cast<std::size_t>(row)].first;
    if (column == 1) return rows[static_cast<std::size_t>(row)].second;
    return {};
}

void ReportModel::SetListVisible(int panel, bool visible) {
    At(panel).listVisible = visible;
}
bool ReportModel::IsListVisible(int panel) const {
    return PanelAt(panel).listVisible;
}

void ReportModel::SetEmptySlotButtonVisible(int panel, bool visible) {
    At(panel).emptySlotButtonVisible = visible;
}
bool ReportModel::IsEmptySlotButtonVisible(int panel) const {
    return PanelAt(panel).emptySlotButtonVisible;
}

void ReportModel::SetSpecButtonVisible(int panel, bool visible) {
    At(panel).specButtonVisible = visible;
}
bool ReportModel::IsSpecButtonVisible(int panel) const {
    return PanelAt(panel).specButtonVisible;
}
void ReportModel::SetSpecButtonEnabled(int panel, bool enabled) {
    At(panel).specButtonEnabled = enabled;
}
bool ReportModel::IsSpecButtonEnabled(int panel) const {
    return PanelAt(panel).specButtonEnabled;
}

}  // namespace orvalis
