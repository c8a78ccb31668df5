#pragma once

class QDialog;

// Shows a dialog modally and returns its result once it is answered (its
// finished signal), as QDialog::exec does, with one difference: hiding the
// dialog meanwhile does not answer it. The quick-hide mode hides every window
// of the program, open questions included; such a question waits, hidden,
// and is answered once it is shown again. A dialog that goes away without an
// answer gives QDialog::Rejected.
int ExecModal(QDialog *dialog);
