// Event log handlers of the main window (to come).
