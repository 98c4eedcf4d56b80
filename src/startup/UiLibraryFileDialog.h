#pragma once

#include "platform/files/LibraryFileDialog.h"
#include "platform/files/SaveFileDialog.h"

class QWidget;

// The library picker: Qt's file-open dialog, started in the library folder; and Qt's file-save
// dialog for the wordbook's export.
class UiLibraryFileDialog : public LibraryFileDialog, public SaveFileDialog
{
public:
    explicit UiLibraryFileDialog(QWidget *parent = nullptr)
        : parent_(parent)
    {}
    void setParent(QWidget *parent) { parent_ = parent; }
    std::optional<QString> getOpenFileName(const QString &title, const QString &filter,
                                           const QString &startFolder) override;
    std::optional<QString> getSaveFileName(const QString &title, const QString &filter,
                                           const QString &startPath) override;

private:
    QWidget *parent_;
};
