// The rule editor's views on Windows: a list view's rows, a drop-down list's choice, the registry's Run value.
#pragma once

#include "configurator/rule_editor.h"
#include "shared/ui/controls.h"
#include "shared/ui/lists.h"

namespace vur::configurator {

class ListViewRows : public RowList {
public:
    ListViewRows(ui::ListView& list, int subItemCount) : list_(list), subItemCount_(subItemCount) {}

    int Count() const override { return list_.Count(); }
    Row At(int index) const override;
    void Append(const Row& row) override { list_.AddRow(row.caption, row.subItems); }
    void Replace(int index, const Row& row) override;
    void Delete(int index) override { list_.Delete(index); }
    void Clear() override { list_.Clear(); }
    int Selected() const override { return list_.Selected(); }
    void BeginBulk(int rows) override;
    void EndBulk() override { list_.SetRedraw(true); }

private:
    ui::ListView& list_;
    int subItemCount_;
};

class DropDownChoice : public Choice {
public:
    explicit DropDownChoice(ui::DropDownList& list) : list_(list) {}
    int Selected() const override { return list_.Selected(); }
    void Select(int index) override { list_.Select(index); }

private:
    ui::DropDownList& list_;
};

class WindowsApplicationFiles : public ApplicationFiles {
public:
    bool Exists(const std::string& path) override;
    std::string KeyPath(const std::string& path) override;
    std::string ChecksumText(const std::string& path) override;
};

class RegistryStartValue : public StartValue {
public:
    void Write(const std::string& data) override;
    void Remove() override;
};

} // namespace vur::configurator
