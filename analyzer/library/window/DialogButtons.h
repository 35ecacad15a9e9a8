#pragma once

class QDialog;
class QDialogButtonBox;

// "OK" (number 1, the default button) and "Cancel" (number 2), accepting and
// rejecting the dialog.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);
