#pragma once

#include "platform/files/LibraryFileDialog.h"

class QWidget;

// The library picker: Qt's file-open dialog, started in the library folder.
class UiLibraryFileDialog : public LibraryFileDialog
{
public:
    explicit UiLibraryFileDialog(QWidget *parent = nullptr)
        : parent_(parent)
    {}
    void setParent(QWidget *parent) { parent_ = parent; }
    std::optional<QString> getOpenFileName(const QString &title, const QString &filter,
                                           const QString &startFolder) override;

private:
    QWidget *parent_;
};
