// Shows the whole batch file, read from where the file stands to its end.
#pragma once

#include <QDialog>

namespace orvane::admin {

class BatchFile;

class DispBatchForm : public QDialog {
  Q_OBJECT

 public:
  DispBatchForm(BatchFile& file, QWidget* parent = nullptr);
};

}  // namespace orvane::admin
