// What the slot report needs of a window: the main window implements it with its controls,
// the report tool with plain data. Slot panels are numbered 1 to 4.
#pragma once

#include <string>

namespace orvalis {

enum class ReportLabel { Slots, MaxMemory, CurrentMemory };  // slots_lbl, maxmem_lbl, curmem_lbl

class IReportView {
  public:
    virtual ~IReportView() = default;

    virtual void SetLabel(ReportLabel label, const std::string& text) = 0;

    // Group K (slotK_grp); a disabled group takes no input for anything in it.
    virtual void SetGroupEnabled(int panel, bool enabled) = 0;
    virtual bool IsGroupEnabled(int panel) const = 0;

    // Outer width = general_grp.left + slot1_grp.left + slot1_grp.width + 16 (387 at
    // 96 dpi): only the left column of slot panels stays in view.
    virtual void NarrowToLeftColumn() = 0;

    // List K (lstK): two columns, rows of (parameter, value).
    virtual void ClearList(int panel) = 0;
    virtual void SetColumnCaption(int panel, int column, const std::string& caption) = 0;
    virtual void AddRow(int panel, const std::string& parameter, const std::string& value) = 0;
    virtual void AutoSizeColumns(int panel) = 0;
    // Cell text of row (0-based) and column (0 parameter, 1 value); empty when absent.
    virtual std::string ListCell(int panel, int row, int column) const = 0;
    virtual void SetListVisible(int panel, bool visible) = 0;
    virtual bool IsListVisible(int panel) const = 0;

    // Empty-slot button K (getRAMK_btn).
    virtual void SetEmptySlotButtonVisible(int panel, bool visible) = 0;
    virtual bool IsEmptySlotButtonVisible(int panel) const = 0;

    // Specification button K (getSpecK_btn).
    virtual void SetSpecButtonVisible(int panel, bool visible) = 0;
    virtual bool IsSpecButtonVisible(int panel) const = 0;
    virtual void SetSpecButtonEnabled(int panel, bool enabled) = 0;
};

}  // namespace orvalis
