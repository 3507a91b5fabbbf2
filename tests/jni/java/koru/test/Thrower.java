package koru.test;

import java.io.PrintStream;

// main ends with an exception: with a cause and non-ASCII text by default, or one that fails while printing itself.
public class Thrower {
    public static final String MESSAGE = "bad \u00FC\u20AC \uD834\uDD1E end";

    static class BadTrace extends RuntimeException {
        @Override
        public void printStackTrace(PrintStream stream) {
            stream.print("partial \u00FC\uD834\uDD1E");
            throw new IllegalStateException("printing failed");
        }
    }

    public static void main(String[] args) {
        if (args.length > 0 && args[0].equals("badtrace"))
            throw new BadTrace();
        fail();
    }

    static void fail() {
        throw new IllegalStateException(MESSAGE, new IllegalArgumentException("root cause"));
    }
}
