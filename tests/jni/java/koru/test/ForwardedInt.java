package koru.test;

// A main class with the int form of secondaryMain: it answers with its first argument read as a number, and
// throws when that argument is none.
public class ForwardedInt {
    public static String[] received;

    public static void main(String[] args) {
    }

    public static int secondaryMain(String[] args) {
        received = args;
        return Integer.parseInt(args[0]);
    }
}
