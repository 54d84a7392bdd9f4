// Placeholder: the printer object comes here.
