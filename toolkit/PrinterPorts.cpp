// Placeholder: platform-neutral printer helpers come here.
