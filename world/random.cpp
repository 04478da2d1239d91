// placeholder: filled in by the world work
