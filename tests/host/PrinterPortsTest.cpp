// Placeholder: the printer port list tests come here.
