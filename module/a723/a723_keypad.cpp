// A-723 receiver: filled in with its part of the receiver.
