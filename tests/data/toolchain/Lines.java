public class Lines {
    public static void main(String[] args) {
        StringBuilder all = new StringBuilder();
        for (int i = 0; i < 2000; i++)
            System.out.println("output line " + i);
        System.err.println("done on stderr");
    }
}
