// The keyer device library: exports are added with the keyer subsystem.
