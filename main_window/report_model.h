// A slot report held as plain data: everything the report sets on a window, starting in the
// window's design state (all lists and buttons shown, all groups enabled, the labels with
// their design texts). The report tool prints it; tests inspect it.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "main_window/report_view.h"

namespace orvalis {

class ReportModel : public IReportView {
  public:
    static constexpr int kPanels = 4;

    struct Panel {
        bool groupEnabled = true;
        bool listVisible = true;
        std::array<std::string, 2> columnCaptions;
        std::vector<std::pair<std::string, std::string>> rows;
        int autoSizeCount = 0;
        bool emptySlotButtonVisible = true;
        bool specButtonVisible = true;
        bool specButtonEnabled = true;
    };

    void SetLabel(ReportLabel label, const std::string& text) override;
    void SetGroupEnabled(int panel, bool enabled) override;
    bool IsGroupEnabled(int panel) const override;
    void NarrowToLeftColumn() override;
    void ClearList(int panel) override;
    void SetColumnCaption(int panel, int column, const std::string& caption) override;
    void AddRow(int panel, const std::string& parameter, const std::string& value) override;
    void AutoSizeColumns(int panel) override;
    std::string ListCell(int panel, int row, int column) const override;
    void SetListVisible(int panel, bool visible) override;
    bool IsListVisible(int panel) const override;
    void SetEmptySlotButtonVisible(int panel, bool visible) override;
    bool IsEmptySlotButtonVisible(int panel) const override;
    void SetSpecButtonVisible(int panel, bool visible) override;
    bool IsSpecButtonVisible(int panel) const override;
    void SetSpecButtonEnabled(int panel, bool enabled) override;

    bool IsSpecButtonEnabled(int panel) const;
    const std::string& Label(ReportLabel label) const;
    bool IsNarrow() const { return narrow_; }
    // Panel 1 to 4; std::out_of_range for any other number.
    const Panel& PanelAt(int panel) const;

  private:
    Panel& At(int panel);

    std::array<std::string, 3> labels_ = {
        "Number of slots :", "Maximum memory :", "Current memory :"};
    std::array<Panel, kPanels> panels_;
    bool narrow_ = false;
};

}  // namespace orvalis
