// Placeholder: the status line geometry tests come here.
