// Tests filled in with the subsystem.
